// The database editor and the list of databases of the real program: a database created
// through the real save dialog, records typed and posted, walked, changed and deleted with
// the real question dialog, the database file read back, the list edited through its real
// context menu, and a signature written from it by the tray menu; and a user's first start,
// which lists the starter collection and offers the mail clients' signature files.
#include "tests/common/MadeUpMailClients.h"
#include "tests/common/StandardUser.h"
#include "tests/e2e/ProgramFixture.h"
#include "tests/e2e/TrayMenuItems.h"
#include "ui/MailClientsWindow.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

using namespace e2e;

namespace {

constexpr UINT TrayCallbackMessage = 0x800;
constexpr WPARAM TrayIconIdentifier = 1; // a process's first icon
constexpr const char* TrayHandlerClass = "VarnquillTrayIconHandler";
// Presses of the down key that reach an item of the freshly opened list menu:
constexpr int OpenPresses = 2; // "Add", "Open", "Import...", "Export...", "Remove", "Clear list"
constexpr int RemovePresses = 5;
constexpr int ClearListPresses = 6;

constexpr int DatabaseTop = 137;
constexpr int DatabasesTop = 444;

constexpr const char* SaveDialogTitle = "Create new or choose an already existing signature database";

// The texts of a database file's records: from byte 1 up to the first NUL, at most 512.
std::vector<std::string> RecordTexts(const std::string& bytes)
{
    std::vector<std::string> texts;
    for (std::size_t at = 0; at + 513 <= bytes.size(); at += 513) {
        const std::string text = bytes.substr(at + 1, 512);
        texts.push_back(text.substr(0, text.find('\0')));
    }
    return texts;
}

// The path as the same file in other letters: a to z upper-cased.
std::string OtherLetterCase(std::string path)
{
    for (char& c : path)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return path;
}

// Which of the editor's buttons are enabled.
struct Buttons {
    bool open, close, first, previous, next, last, add, post, remove, set;
    bool operator==(const Buttons&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Buttons& b)
{
    return out << "open " << b.open << " close " << b.close << " first " << b.first << " previous "
               << b.previous << " next " << b.next << " last " << b.last << " new " << b.add << " post "
               << b.post << " delete " << b.remove << " set " << b.set;
}

//                         open   close  first  prev   next   last   new    post   delete set
constexpr Buttons Closed{  true,  false, false, false, false, false, false, false, false, false};
constexpr Buttons Empty{   false, true,  false, false, false, false, true,  true,  false, false};
constexpr Buttons Adding{  false, true,  false, false, false, false, false, true,  false, false};
constexpr Buttons Browsing{false, true,  true,  true,  true,  true,  true,  true,  true,  true};
constexpr Buttons AtFirst{ false, true,  false, false, true,  true,  true,  true,  true,  true};
constexpr Buttons AtLast{  false, true,  true,  true,  false, false, true,  true,  true,  true};

class DatabaseEditor : public RealProgram {
protected:
    void Start()
    {
        StoreSetting("OEFile", program->Directory() + "signature.txt");
        StoreSetting("SigBreak", "False");
        form = StartShown();
        ASSERT_NE(form, nullptr);
        field = Control(form, "Edit", 384, DatabaseTop + 104);
        pathField = Control(form, "Edit", 8, DatabaseTop + 32);
        list = Control(form, "ListBox", 2, DatabasesTop + 15);
        post = Control(form, "Button", 480, DatabaseTop + 272);
    }

    HWND Button(const char* caption) { return ControlWithText(form, "Button", caption); }

    Buttons Enabled()
    {
        const auto on = [this](const char* caption) {
            const HWND button = Button(caption);
            if (!button)
                throw std::runtime_error(std::string("no button ") + caption);
            return IsWindowEnabled(button) != FALSE;
        };
        return {on("New / Open"), on("Close"), on("First"), on("Previous"), on("Next"),
                on("Last"), on("New"), IsWindowEnabled(post) != FALSE, on("Delete"), on("Set signature")};
    }

    void Settle() { RealProgram::Settle(form); }

    // Presses a button whose command opens a modal dialog: posted, so the test goes on
    // while the dialog is open.
    void PressLater(HWND button) { ASSERT_TRUE(PostMessageA(button, BM_CLICK, 0, 0)); }

    // Answers a message dialog and waits until the command that asked has finished.
    void Answer(HWND dialog, const std::string& button)
    {
        PressDialogButton(dialog, button);
        EXPECT_TRUE(EventWait().UntilRechecking([&] { return !IsWindow(dialog); }, WaitMs, RecheckMs));
        Settle();
    }

    void ChooseFile(HWND dialog, const std::string& path)
    {
        ChooseFileIn(dialog, path);
        Settle();
    }

    // Types into the signature field key by key; "\r\n" is one Enter.
    void Type(const std::string& text)
    {
        DWORD_PTR answer = 0;
        for (const char c : text) {
            if (c == '\n')
                continue;
            ASSERT_TRUE(SendMessageTimeoutA(field, WM_CHAR, static_cast<unsigned char>(c), 1, SMTO_NORMAL, WaitMs,
                                            &answer));
        }
    }

    void PostTyped(const std::string& text)
    {
        Type(text);
        Click(post);
    }

    void ChooseFromList(int downPresses) { RealProgram::ChooseFromList(form, downPresses); }

    void ChooseFromTray(int downPresses)
    {
        const HWND handler = TopLevelWindowOf(program->ProcessId(), TrayHandlerClass);
        ASSERT_NE(handler, nullptr) << "the program has no tray icon window";
        ASSERT_TRUE(PostMessageA(handler, TrayCallbackMessage, TrayIconIdentifier, WM_RBUTTONDOWN));
        ChooseFromMenu(downPresses);
    }

    void Select(int row)
    {
        DWORD_PTR answer = 0;
        ASSERT_TRUE(SendMessageTimeoutA(list, LB_SETCURSEL, row, 0, SMTO_NORMAL, WaitMs, &answer));
    }

    std::vector<std::string> ListRows()
    {
        std::vector<std::string> rows;
        for (int row = 0; row < ListCount(list); ++row)
            rows.push_back(ListItem(list, row));
        return rows;
    }

    HWND form = nullptr;
    HWND field = nullptr;
    HWND pathField = nullptr;
    HWND list = nullptr;
    HWND post = nullptr;
};

} // namespace

TEST_F(DatabaseEditor, CreatePostWalkUpdateDeleteCloseThenWriteFromTheList)
{
    Start();
    ASSERT_FALSE(HasFatalFailure());
    const DWORD id = program->ProcessId();
    const std::string path = program->Directory() + "mine.sigs";
    EXPECT_EQ(Enabled(), Closed);

    // "New / Open" through the real save dialog: a new, empty database.
    PressLater(Button("New / Open"));
    const HWND save = DialogTitled(SaveDialogTitle);
    ASSERT_NE(save, nullptr);
    ChooseFile(save, path);
    EXPECT_EQ(TextOf(pathField), path);
    EXPECT_EQ(program->ReadFile("mine.sigs"), "");
    EXPECT_EQ(Enabled(), Empty);
    EXPECT_EQ(TextOf(post), "Update");

    // Three signatures: one of exactly 512 characters (a 513th cannot be typed), one of
    // several lines, one short.
    std::string full;
    for (int i = 0; i < 512; ++i)
        full += static_cast<char>('a' + i % 26);
    const std::string lines = "Best regards,\r\n  Someone\r\n\r\nwith an empty line";
    const std::string third = "Third";
    Type(full);
    Type("!");
    EXPECT_EQ(TextOf(field), full);
    Click(post);
    EXPECT_EQ(Enabled(), Browsing);
    for (const std::string& text : {lines, third}) {
        Click(Button("New"));
        EXPECT_EQ(Enabled(), Adding);
        EXPECT_EQ(TextOf(post), "Add sig");
        PostTyped(text);
        EXPECT_EQ(TextOf(post), "Update");
    }
    EXPECT_EQ(RecordTexts(program->ReadFile("mine.sigs").value_or("")),
              (std::vector<std::string>{full, lines, third}));

    // Walking, with the ends' buttons disabled.
    struct Step { const char* button; std::string shown; Buttons buttons; };
    const Step walk[] = {{"First", full, AtFirst},     {"Next", lines, Browsing}, {"Next", third, AtLast},
                         {"Previous", lines, Browsing}, {"Previous", full, AtFirst}, {"Last", third, AtLast},
                         {"Previous", lines, Browsing}};
    for (const Step& step : walk) {
        Click(Button(step.button));
        EXPECT_EQ(TextOf(field), step.shown) << step.button;
        EXPECT_EQ(Enabled(), step.buttons) << step.button;
    }

    // The middle one updated in place, then deleted: its follower takes its place.
    const std::string updated = "Updated middle";
    SetText(field, updated);
    Click(post);
    EXPECT_EQ(RecordTexts(program->ReadFile("mine.sigs").value_or("")),
              (std::vector<std::string>{full, updated, third}));
    PressLater(Button("Delete"));
    const HWND confirm = DialogTitled("Confirm");
    ASSERT_NE(confirm, nullptr);
    EXPECT_EQ(DialogMessage(confirm), "Delete signature?");
    Answer(confirm, "&Yes");
    EXPECT_EQ(TextOf(field), third);

    // Close offers the database to the list.
    PressLater(Button("Close"));
    const HWND offer = DialogTitled("Confirm");
    ASSERT_NE(offer, nullptr);
    EXPECT_EQ(DialogMessage(offer), "Do you want to add mine.sigs to the list of signature databases?");
    Answer(offer, "&Yes");
    EXPECT_EQ(ListRows(), std::vector<std::string>{path});
    EXPECT_EQ(Enabled(), Closed);
    EXPECT_EQ(TextOf(pathField), "");
    EXPECT_EQ(TextOf(field), "");

    const std::string bytes = program->ReadFile("mine.sigs").value_or("");
    EXPECT_EQ(bytes.size() % 513, 0u);
    const std::vector<std::string> kept{full, third};
    EXPECT_EQ(RecordTexts(bytes), kept);

    // The tray menu's "Change signature" picks from the list: one of the two, byte for byte.
    ChooseFromTray(ChangeSignaturePresses);
    Settle();
    const std::optional<std::string> written = program->ReadFile("signature.txt");
    ASSERT_TRUE(written.has_value());
    EXPECT_NE(std::find(kept.begin(), kept.end(), *written), kept.end()) << *written;
    EXPECT_TRUE(DialogsOf(id).empty());
}

TEST_F(DatabaseEditor, ListMenuOpensRefusesASecondOpenAddsOnceRemovesAndClears)
{
    std::string two(1026, '\0');
    two.replace(1, 3, "one");
    two.replace(514, 3, "two");
    program->WriteFile("listed.sigs", two);
    const std::string path = program->Directory() + "listed.sigs";
    program->WriteFile("sigs.list", path + "\r\n");
    Start();
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_EQ(ListRows(), std::vector<std::string>{path});

    // "Open" from the list.
    Select(0);
    ChooseFromList(OpenPresses);
    Settle();
    EXPECT_EQ(TextOf(pathField), path);
    EXPECT_EQ(TextOf(field), "one");
    EXPECT_EQ(Enabled(), (Buttons{false, true, false, false, true, true, true, true, true, true}));

    // Again while it is open: refused, and the open one stays.
    ChooseFromList(OpenPresses);
    const HWND refusal = DialogTitled("Error");
    ASSERT_NE(refusal, nullptr);
    EXPECT_EQ(DialogMessage(refusal), "A signature database is already open!");
    Answer(refusal, "OK");
    EXPECT_EQ(TextOf(pathField), path);

    // Listed: closing asks nothing.
    Click(Button("Close"));
    EXPECT_TRUE(DialogsOf(program->ProcessId()).empty());

    // "Add" of the same path in other letters adds nothing.
    ChooseFromList(AddPresses);
    const HWND add = DialogTitled(AddDialogTitle);
    ASSERT_NE(add, nullptr);
    ChooseFile(add, OtherLetterCase(path));
    EXPECT_EQ(ListRows(), std::vector<std::string>{path});

    // "Add" of another; "Remove" the selected row; "Clear list" the rest, unasked.
    program->WriteFile("other.sigs", "");
    ChooseFromList(AddPresses);
    const HWND addOther = DialogTitled(AddDialogTitle);
    ASSERT_NE(addOther, nullptr);
    ChooseFile(addOther, program->Directory() + "other.sigs");
    EXPECT_EQ(ListRows(), (std::vector<std::string>{path, program->Directory() + "other.sigs"}));
    Select(0);
    ChooseFromList(RemovePresses);
    Settle();
    EXPECT_EQ(ListRows(), std::vector<std::string>{program->Directory() + "other.sigs"});
    ChooseFromList(ClearListPresses);
    Settle();
    EXPECT_TRUE(ListRows().empty());
    EXPECT_TRUE(DialogsOf(program->ProcessId()).empty());
}

// ---- A user's first start ----

// As a standard user starts the installed program: a program folder nobody may write to,
// holding only the program and its starter collection; the user's own folder is emptied.
class FirstStart : public DatabaseEditor {
protected:
    void SetUp() override
    {
        DatabaseEditor::SetUp(); // the user's own folder emptied too
        folder_ = standarduser::LockedFreshProgramFolder();
        if (folder_.empty())
            GTEST_SKIP() << "this build has no locked program folder";
        program = std::make_unique<ProgramUnderTest>(folder_);
    }

    static std::string UserFolder() { return UserSideFilesFolder(); }

    // Starts the program, again when it ran before.
    void StartFresh()
    {
        if (program->ProcessId() != 0)
            program = std::make_unique<ProgramUnderTest>(folder_);
        form = StartShown();
        ASSERT_NE(form, nullptr);
        list = Control(form, "ListBox", 2, DatabasesTop + 15);
    }

    void ExitThroughTray()
    {
        ChooseFromTray(ExitPresses);
        EXPECT_EQ(WaitForSingleObject(program->Process(), WaitMs), WAIT_OBJECT_0) << "Exit did not end the program";
    }

    std::string folder_;
};

TEST_F(FirstStart, ListsTheUsersOwnCopyOfTheStarterOnceAndNeverAgainOnceRemoved)
{
    StartFresh();
    ASSERT_FALSE(HasFatalFailure());
    const std::string copy = UserFolder() + "Quotes.sigs";
    EXPECT_EQ(ListRows(), std::vector<std::string>{copy});
    const std::optional<std::string> shipped = FileBytes(program->Directory() + "Quotes.sigs");
    ASSERT_TRUE(shipped);
    EXPECT_EQ(FileBytes(copy), shipped);
    // Saved at once: the start is recorded even should the program never reach Exit.
    EXPECT_EQ(FileBytes(UserFolder() + "sigs.list"), copy + "\r\n");

    // "Change signature" works at once, with one of its texts.
    const std::string signature = UserFolder() + "signature.txt";
    SetText(Control(form, "Edit", 8, 32), signature);
    ChooseFromTray(ChangeSignaturePresses);
    Settle();
    const std::vector<std::string> texts = RecordTexts(*shipped);
    ASSERT_GE(texts.size(), 500u);
    std::string written = FileBytes(signature).value_or("(no file)");
    if (written.starts_with("-- \r\n"))
        written.erase(0, 5); // the delimiter line, on by default
    EXPECT_NE(std::find(texts.begin(), texts.end(), written), texts.end()) << written;
    DeleteFileA(signature.c_str());

    // Not added again; and once removed, never back.
    ExitThroughTray();
    StartFresh();
    EXPECT_EQ(ListRows(), std::vector<std::string>{copy});
    Select(0);
    ChooseFromList(RemovePresses);
    Settle();
    EXPECT_TRUE(ListRows().empty());
    ExitThroughTray();
    // No settings either: the saved list alone tells.
    ASSERT_EQ(RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\qmz\\Varnquill"), ERROR_SUCCESS);
    StartFresh();
    EXPECT_TRUE(ListRows().empty());
    EXPECT_TRUE(FileBytes(copy)) << "the user's copy stays where it was";
}

TEST_F(DatabaseEditor, APortableFirstStartListsItsOwnCollectionAndOffersTheMailClientsFileUnlessMinimised)
{
    mailclients::MadeUpMailClients clients;
    const auto offered = [&] {
        Settle();
        const HWND window = TopLevelWindowOf(program->ProcessId(), MailClientsWindow::ClassName);
        return window && IsWindowVisible(window) ? window : nullptr;
    };
    program->Start("/MIN");
    form = program->MainWindow();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(offered(), nullptr);
    EXPECT_FALSE(IsWindowVisible(form)) << "started minimised, the window shows";
    program->Terminate();

    // A portable copy keeps its lists beside itself: its own collection is listed, not copied.
    ForgetProgramSettings();
    program->WriteFile("Quotes.sigs", std::string(1, '\0') + "Shipped" + std::string(511, '\0'));
    program->Start();
    form = program->MainWindow();
    ASSERT_NE(form, nullptr);
    list = Control(form, "ListBox", 2, DatabasesTop + 15);
    EXPECT_EQ(ListRows(), std::vector<std::string>{program->Directory() + "Quotes.sigs"});
    EXPECT_EQ(program->ReadFile("sigs.list"), program->Directory() + "Quotes.sigs\r\n");
    EXPECT_FALSE(FileBytes(UserSideFilesFolder() + "Quotes.sigs"));
    HWND window = nullptr;
    EXPECT_TRUE(EventWait().UntilRechecking([&] { return (window = offered()) != nullptr; }, WaitMs, RecheckMs));
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindowVisible(form));
    EXPECT_EQ(GetWindow(window, GW_OWNER), form);
    // Nothing is chosen for the user.
    EXPECT_EQ(TextOf(Control(form, "Edit", 8, 32)), "");
    PressDialogButton(window, "Cancel");
    EXPECT_TRUE(EventWait().UntilRechecking([&] { return offered() == nullptr; }, WaitMs, RecheckMs));
    EXPECT_EQ(StoredSetting("OEFile").value_or(""), "");
}
