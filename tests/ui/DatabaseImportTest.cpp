// The Databases list's "Import..." and "Export..." on a real main window, real files and the
// real console program.
#include "EditorFixture.h"

#include "base/Handles.h"
#include "tests/common/StartProcess.h"
#include "ui/ImportProgressWindow.h"

#include <fstream>

namespace {

enum Item : std::size_t { ImportItem = 2, ExportItem = 3 };

constexpr const char* OpenTitle = "Import signatures from a text file";
constexpr const char* DatabaseTitle = "Import into a new or an existing signature database";

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Runs vqsig.exe with the arguments to its end; answers its exit code.
DWORD RunVqsig(const std::string& arguments)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!StartProcess("\"" VQSIG_EXE "\" " + arguments, startup, started))
        return DWORD(-1);
    const base::KernelHandle process(started.hProcess);
    const base::KernelHandle thread(started.hThread);
    DWORD code = DWORD(-1);
    if (WaitForSingleObject(process.Get(), 60000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.Get(), &code);
    return code;
}

// Presses "Cancel" of the import's progress window as soon as it shows, from a thread
// timer of the test's own thread, which the window's loop runs.
class ProgressCanceller {
public:
    ProgressCanceller() : timer_(SetTimer(nullptr, 0, 20, &Tick)) { current_ = this; }
    ~ProgressCanceller()
    {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    bool Pressed() const noexcept { return pressed_; }
    // GetTickCount64 when it was pressed.
    ULONGLONG PressedAt() const noexcept { return pressedAt_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        if (!current_ || current_->pressed_)
            return;
        const HWND window = FindWindowA(ImportProgressWindow::ClassName, nullptr);
        if (!window || !IsWindowVisible(window))
            return;
        const HWND cancel = FindWindowExA(window, nullptr, "Button", "Cancel");
        if (cancel && IsWindowEnabled(cancel)) {
            current_->pressed_ = true;
            current_->pressedAt_ = GetTickCount64();
            SendMessageA(cancel, BM_CLICK, 0, 0);
        }
    }

    static inline ProgressCanceller* current_ = nullptr;
    UINT_PTR timer_;
    bool pressed_ = false;
    ULONGLONG pressedAt_ = 0;
};

} // namespace

class DatabaseImport : public EditorWindow {
protected:
    // "Import..." from the menu, the text file and the database chosen; answers the dialogs.
    std::vector<testcommon::SeenDialog> Import(const std::string& source, const std::string& database)
    {
        dialogs->ChooseFile(source);
        dialogs->ChooseFile(database);
        dialogs->Press("OK");
        Menu().Items[ImportItem].Click();
        return dialogs->Take();
    }

    toolkit::PopupMenu& Menu() { return DatabasesOf(*form).DBListPopUp; }
    std::vector<std::string> Listed() { return DatabasesOf(*form).DBList.Items(); }
};

TEST_F(DatabaseImport, FortuneAndParagraphFilesGoIntoNewAndExistingDatabasesAndExportGivesVqsigsBytes)
{
    const std::string fortunes = PathOf("quotes.txt");
    WriteBytes(fortunes, "one\n%\ntwo lines\nsecond\n%\n" + std::string(600, 'x') + "\n%\n\xC3\xA9t\xC3\xA9\n%\n");
    const std::string created = PathOf("new.sigs");
    std::vector<testcommon::SeenDialog> seen = Import(fortunes, created);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].caption, OpenTitle);
    EXPECT_EQ(seen[1].caption, DatabaseTitle);
    EXPECT_EQ(seen[2].caption, "Information");
    EXPECT_EQ(seen[2].text, "Imported 3 signatures into new.sigs; 1 was skipped (too long).");
    EXPECT_EQ(RecordTexts(created), (std::vector<std::string>{"one", "two lines\r\nsecond", "\xE9t\xE9"}));
    EXPECT_EQ(FileBytes(created)->size(), 3u * 513);
    EXPECT_EQ(Listed(), std::vector<std::string>{created});

    // No "%" line: one signature per paragraph, appended to a listed database, listed once.
    const std::string paragraphs = PathOf("paragraphs.txt");
    const std::string paragraphBytes = "first\r\nline two\r\n\r\n  \r\n\r\nsecond\r\n";
    WriteBytes(paragraphs, paragraphBytes);
    seen = Import(paragraphs, created);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[2].text, "Imported 2 signatures into new.sigs.");
    EXPECT_EQ(RecordTexts(created),
              (std::vector<std::string>{"one", "two lines\r\nsecond", "\xE9t\xE9", "first\r\nline two", "second"}));
    EXPECT_EQ(Listed(), std::vector<std::string>{created});
    EXPECT_EQ(FileBytes(paragraphs), paragraphBytes); // the source is only read

    // Export writes what vqsig export writes, and reads back as the same records.
    const std::string exported = PathOf("exported.txt");
    const std::string byConsole = PathOf("console.txt");
    ASSERT_EQ(RunVqsig("export \"" + created + "\" \"" + byConsole + "\""), 0u);
    DatabasesOf(*form).DBList.SetItemIndex(0);
    Menu().OnPopup(Menu());
    ASSERT_TRUE(Menu().Items[ExportItem].Enabled);
    dialogs->ChooseFile(exported);
    dialogs->Press("OK");
    Menu().Items[ExportItem].Click();
    seen = dialogs->Take();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].text, "Exported 5 signatures to exported.txt.");
    ASSERT_TRUE(FileBytes(byConsole));
    EXPECT_EQ(FileBytes(exported), FileBytes(byConsole));
    const std::string again = PathOf("again.sigs");
    Import(exported, again);
    EXPECT_EQ(FileBytes(again), FileBytes(created));

    // Never over a listed database, nor one of the program's own files.
    const std::string createdBytes = *FileBytes(created);
    dialogs->ChooseFile(created);
    dialogs->Press("OK");
    Menu().Items[ExportItem].Click();
    seen = dialogs->Take();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].caption, "Error");
    EXPECT_EQ(FileBytes(created), createdBytes);
}

TEST_F(DatabaseImport, WhatIsNoTextFileIsRefusedAndNothingIsWritten)
{
    const std::string database = PathOf("kept.sigs");
    WriteDatabase(database, {"kept"});
    const std::string databaseBytes = *FileBytes(database);

    const std::string large = PathOf("large.txt");
    {
        // Sparse where the file system allows: only its size matters.
        const base::FileHandle file(
            CreateFileA(large.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        LARGE_INTEGER size{};
        size.QuadPart = 64LL * 1024 * 1024 + 1;
        ASSERT_TRUE(SetFilePointerEx(file.Get(), size, nullptr, FILE_BEGIN));
        ASSERT_TRUE(SetEndOfFile(file.Get()));
    }
    const std::string binary = PathOf("picture.txt");
    WriteBytes(binary, std::string("GIF89a\0\0text\n%\nmore", 20));
    struct Case {
        std::string source;
        std::string why;
    };
    const Case cases[] = {
        {database, "is a signature database, not a text file"},
        {large, "is larger than 64 MiB"},
        {binary, "is not a text file: it holds NUL bytes"},
    };
    for (const Case& c : cases) {
        const std::string before = FileBytes(c.source).value_or("").substr(0, 64);
        dialogs->ChooseFile(c.source);
        dialogs->Press("OK");
        Menu().Items[ImportItem].Click();
        const std::vector<testcommon::SeenDialog> seen = dialogs->Take();
        ASSERT_EQ(seen.size(), 2u) << c.source; // no database is asked for
        EXPECT_EQ(seen[1].caption, "Error");
        EXPECT_NE(seen[1].text.find(c.why), std::string::npos) << seen[1].text;
        EXPECT_NE(seen[1].text.find("Nothing was imported."), std::string::npos) << seen[1].text;
        EXPECT_EQ(FileBytes(c.source).value_or("").substr(0, 64), before);
    }
    // A text file whose every text is skipped: no database made, none changed, none listed.
    const std::string skipped = PathOf("skipped.txt");
    WriteBytes(skipped, std::string(600, 'x') + "\n%\n" + std::string(513, 'y') + "\n");
    for (const std::string& target : {PathOf("new.sigs"), database}) {
        const std::vector<testcommon::SeenDialog> seen = Import(skipped, target);
        ASSERT_EQ(seen.size(), 3u) << target;
        EXPECT_EQ(seen[2].caption, "Error");
        EXPECT_EQ(seen[2].text, "Nothing was imported from skipped.txt: 2 texts were skipped (too long).");
    }
    EXPECT_FALSE(FileBytes(PathOf("new.sigs")));
    EXPECT_EQ(FileBytes(database), databaseBytes);
    EXPECT_TRUE(Listed().empty());
}

TEST_F(DatabaseImport, ALongImportShowsItsProgressAndCancelledImportsNothing)
{
    const std::string database = PathOf("kept.sigs");
    WriteDatabase(database, {"kept"});
    const std::string databaseBytes = *FileBytes(database);
    // Some 60 MiB of texts that fit a record, each converted from UTF-8: far more than half a
    // second's work.
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += "\xC3\xA9";
    text += "\n%\n";
    std::string source;
    source.reserve(60u * 1024 * 1024);
    while (source.size() + text.size() < 60u * 1024 * 1024)
        source += text;
    const std::string big = PathOf("big.txt");
    WriteBytes(big, source);
    source.clear();

    ProgressCanceller canceller;
    dialogs->ChooseFile(big);
    dialogs->ChooseFile(database);
    Menu().Items[ImportItem].Click();
    EXPECT_TRUE(canceller.Pressed()) << "no progress window showed";
    const std::vector<testcommon::SeenDialog> seen = dialogs->Take();
    EXPECT_EQ(seen.size(), 2u) << "a cancelled import says nothing more";
    EXPECT_TRUE(FileBytes(database) == databaseBytes) << FileBytes(database).value_or("").size() << " bytes";
    EXPECT_TRUE(Listed().empty());
}

TEST_F(DatabaseImport, TheProgressWindowShowsOnlyAfterHalfASecondAndCancelStopsTheWork)
{
    const HWND owner = form->Handle();
    {
        // Quick work never shows it; a failure comes out on the caller's thread.
        ProgressCanceller canceller;
        ImportProgressWindow quick(owner, "Importing quick.txt...");
        EXPECT_FALSE(quick.Run([](const fortunes::ImportProgress& progress) { progress(1); }));
        EXPECT_THROW(quick.Run([](const fortunes::ImportProgress&) { throw std::runtime_error("broken"); }),
                     std::runtime_error);
        EXPECT_FALSE(canceller.Pressed());
    }
    ProgressCanceller canceller;
    ImportProgressWindow slow(owner, "Importing slow.txt...");
    const ULONGLONG started = GetTickCount64();
    bool stopped = false;
    const bool cancelled = slow.Run([&](const fortunes::ImportProgress& progress) {
        // At most ten seconds, as an import that never ends would take forever.
        for (int i = 0; i < 1000; ++i) {
            if (!progress(i / 1000.0)) {
                stopped = true;
                throw fortunes::ImportCancelled();
            }
            Sleep(10);
        }
    });
    EXPECT_TRUE(cancelled);
    EXPECT_TRUE(stopped);
    ASSERT_TRUE(canceller.Pressed());
    EXPECT_GE(canceller.PressedAt() - started, ImportProgressWindow::ShowAfterMs - 20);
    EXPECT_FALSE(IsWindowVisible(slow.Handle()));
    EXPECT_TRUE(IsWindowEnabled(owner));
}
