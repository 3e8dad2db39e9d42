// The main window's life in the test's own process: exit saving the list, the static text
// and the position; side files that could not be read; the browse button; the timer.
#include "base/Version.h"
#include "tests/common/DialogAnswerer.h"
#include "tests/common/FormProbes.h"

#include "settings/ProgramLocation.h"
#include "settings/SideFiles.h"
#include "toolkit/Application.h"
#include "toolkit/Handles.h"
#include "tray/TrayIcon.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <optional>

using testcommon::DialogAnswerer;
using testcommon::SeenDialog;

namespace {

std::optional<std::string> FileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(file), {});
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << bytes;
    ASSERT_TRUE(file.good()) << path;
}

std::optional<std::string> StoredSetting(const char* name)
{
    char value[512] = {};
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, "Software\\qmz\\Varnquill", name, RRF_RT_REG_SZ, nullptr, value, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return std::string(value);
}

// Exit ends the application by posting WM_QUIT; the test's thread must not keep it, or the
// next modal loop would end at once.
bool TakeQuitMessage()
{
    MSG msg;
    return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

// The side files live beside the program, here the test executable; the registry key is
// the program's own. Both are removed before and after each test.
class MainWindowLife : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The program entry's title, which the last-resort box shows as its caption.
        toolkit::Application::Instance().SetTitle("Varnquill");
        Clean();
        dialogs = std::make_unique<DialogAnswerer>();
    }

    void TearDown() override
    {
        form.reset();
        EXPECT_TRUE(dialogs->Take().empty()) << "a dialog nobody looked at";
        dialogs.reset();
        Clean();
    }

    void Clean()
    {
        // Missing already is as good as removed.
        for (const char* name : settings::SideFileNames)
            DeleteFileA(settings::SideFilePath(directory, name).c_str());
        DeleteFileA(scratchPath.c_str());
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\qmz\\Varnquill");
    }

    const std::string directory = settings::ProgramDirectory();
    const std::string listPath = settings::SideFilePath(directory, settings::DatabaseListFileName);
    const std::string staticPath = settings::SideFilePath(directory, settings::StaticTextFileName);
    const std::string scratchPath = directory + "browse-test-signature.txt";
    std::unique_ptr<DialogAnswerer> dialogs;
    ProgramServices services; // outlives the window, as in the program
    std::unique_ptr<TForm1> form;
};

} // namespace

TEST_F(MainWindowLife, ExitSavesTheListTheStaticTextAndThePositionThenEnds)
{
    form = std::make_unique<TForm1>(services);
    ASSERT_NE(FormProbe::TrayIcon1(*form), nullptr);
    DatabasesOf(*form).Add("C:\\a.sigs");
    DatabasesOf(*form).Add("C:\\b.sigs");
    SettingsOf(*form).StaticMemo.SetText("first\r\nsecond");
    ASSERT_TRUE(SetWindowPos(form->Handle(), nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER));

    FormProbe::Exit(*form);

    EXPECT_TRUE(TakeQuitMessage());
    EXPECT_TRUE(toolkit::Application::Instance().Terminated());
    EXPECT_EQ(FormProbe::TrayIcon1(*form), nullptr);
    EXPECT_FALSE(services.Started());
    EXPECT_EQ(FileBytes(listPath), "C:\\a.sigs\r\nC:\\b.sigs\r\n");
    EXPECT_EQ(FileBytes(staticPath), "first\r\nsecond");
    EXPECT_EQ(StoredSetting("Top"), "200");
    EXPECT_EQ(StoredSetting("Left"), "300");

    // The store is gone: a later change of a setting writes nothing.
    SettingsOf(*form).BalloonChkBx.SetChecked(true);
    EXPECT_FALSE(StoredSetting("Balloon").has_value());
}

TEST_F(MainWindowLife, AfterExitTheNextStartFindsTheSameListAndPosition)
{
    form = std::make_unique<TForm1>(services);
    DatabasesOf(*form).Add("C:\\kept.sigs");
    ASSERT_TRUE(SetWindowPos(form->Handle(), nullptr, 250, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER));
    FormProbe::Exit(*form);
    EXPECT_TRUE(TakeQuitMessage());
    form.reset();

    form = std::make_unique<TForm1>(services);
    EXPECT_EQ(DatabasesOf(*form).DBList.Items(), std::vector<std::string>{"C:\\kept.sigs"});
    RECT place{};
    ASSERT_TRUE(GetWindowRect(form->Handle(), &place));
    EXPECT_EQ(place.left, 250);
    EXPECT_EQ(place.top, 150);
}

TEST_F(MainWindowLife, SideFilesThatCouldNotBeReadAtStartUpAreNotOverwrittenAtExit)
{
    WriteBytes(listPath, "C:\\users-list.sigs\r\n");
    WriteBytes(staticPath, "the user's static text");
    {
        // Another program holds both files open without sharing while the window starts.
        base::FileHandle listLock(
            CreateFileA(listPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        base::FileHandle staticLock(
            CreateFileA(staticPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(listLock && staticLock);
        dialogs->Press("OK");
        dialogs->Press("OK");
        form = std::make_unique<TForm1>(services);
    }
    const std::vector<SeenDialog> seen = dialogs->Take();
    ASSERT_EQ(seen.size(), 2u);
    for (const SeenDialog& box : seen) {
        EXPECT_EQ(box.caption, "Varnquill");
        EXPECT_EQ(box.text.rfind("Cannot open file \"", 0), 0u) << box.text;
    }
    // The steps after the failures ran: the icon is in the tray.
    EXPECT_NE(FormProbe::TrayIcon1(*form), nullptr);

    DatabasesOf(*form).Add("C:\\added-since.sigs");
    FormProbe::Exit(*form);
    EXPECT_TRUE(TakeQuitMessage());
    EXPECT_EQ(FileBytes(listPath), "C:\\users-list.sigs\r\n");
    EXPECT_EQ(FileBytes(staticPath), "the user's static text");
    EXPECT_TRUE(StoredSetting("Top").has_value());
}

TEST_F(MainWindowLife, BrowseCreatesAMissingSignatureFileEmptyAndStoresItsPath)
{
    form = std::make_unique<TForm1>(services);
    dialogs->ChooseFile(scratchPath);
    SettingsOf(*form).BrowseBtnClick();
    ASSERT_EQ(dialogs->Take().size(), 1u);
    EXPECT_EQ(SettingsOf(*form).OEFileEdit.Text(), scratchPath);
    EXPECT_EQ(StoredSetting("OEFile"), scratchPath);
    EXPECT_EQ(FileBytes(scratchPath), "");
}

TEST_F(MainWindowLife, BrowseKeepsAnExistingFileAndACancelChangesNothing)
{
    WriteBytes(scratchPath, "-- \r\nold signature");
    form = std::make_unique<TForm1>(services);
    dialogs->ChooseFile(scratchPath);
    SettingsOf(*form).BrowseBtnClick();
    ASSERT_EQ(dialogs->Take().size(), 1u);
    EXPECT_EQ(FileBytes(scratchPath), "-- \r\nold signature");

    dialogs->Cancel();
    SettingsOf(*form).BrowseBtnClick();
    ASSERT_EQ(dialogs->Take().size(), 1u);
    EXPECT_EQ(SettingsOf(*form).OEFileEdit.Text(), scratchPath);
}

TEST_F(MainWindowLife, MinutesSetTheTimersIntervalInUnsigned32BitMilliseconds)
{
    form = std::make_unique<TForm1>(services);
    EXPECT_EQ(SettingsOf(*form).AutoTimer.Interval(), 10u * 60000u);
    EXPECT_FALSE(SettingsOf(*form).AutoTimer.Enabled());
    SettingsOf(*form).MinutesEdit.SetValue(70000);
    EXPECT_EQ(SettingsOf(*form).AutoTimer.Interval(), 4200000000u);
    EXPECT_EQ(StoredSetting("Minutes"), "70000");
    SettingsOf(*form).AutoChkBx.SetChecked(true);
    EXPECT_TRUE(SettingsOf(*form).AutoTimer.Enabled());
    EXPECT_EQ(StoredSetting("AutoChange"), "True");
}

// A change started while an earlier one waits in its report dialog (from the tray menu,
// say) must leave the earlier one marked as running, or auto-change ticks could nest again.
TEST_F(MainWindowLife, AChangeInsideAnotherLeavesTheOuterOneMarkedRunning)
{
    form = std::make_unique<TForm1>(services); // no signature file set: every change reports an error
    dialogs.reset();

    struct Nesting {
        TForm1* form = nullptr;
        std::unique_ptr<DialogAnswerer> answerer;
        std::optional<bool> runningAfterInner;
    };
    static Nesting nesting;
    nesting = Nesting{form.get(), nullptr, std::nullopt};
    // Runs inside the outer change's dialog loop.
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        nesting.answerer = std::make_unique<DialogAnswerer>();
        nesting.answerer->Press("OK");
        nesting.answerer->Press("OK");
        FormProbe::RandomChange(*nesting.form);
        nesting.runningAfterInner = FormProbe::RandomChangeRunning(*nesting.form);
    });
    ASSERT_NE(timer, 0u);

    FormProbe::RandomChange(*form);

    ASSERT_TRUE(nesting.runningAfterInner.has_value()) << "the inner change never ran";
    EXPECT_TRUE(*nesting.runningAfterInner);
    EXPECT_FALSE(FormProbe::RandomChangeRunning(*form));
    const std::vector<SeenDialog> seen = nesting.answerer->Take();
    ASSERT_EQ(seen.size(), 2u);
    for (const SeenDialog& dialog : seen)
        EXPECT_EQ(dialog.text, "You must specify where to write the signature!");
    dialogs = std::move(nesting.answerer);
}

// Writes to Linux's /dev/full, which Wine opens as a file, fail as on a full disk: the
// failure escapes the writer to the last-resort box. The auto-change timer keeps ticking
// meanwhile, into the box's own loop.
TEST_F(MainWindowLife, TicksWhileAChangesBoxIsOpenDoNothingAndTheBoxStandsOnItsOwnWhileHidden)
{
    WriteBytes(scratchPath, std::string("\0Hello", 6) + std::string(507, '\0'));
    form = std::make_unique<TForm1>(services);
    DatabasesOf(*form).Add(scratchPath);
    SettingsOf(*form).AutoChkBx.SetChecked(true);
    toolkit::Application::Instance().Minimize();
    ASSERT_FALSE(IsWindowVisible(form->Handle()));
    HWND timer = nullptr;
    while ((timer = FindWindowExA(HWND_MESSAGE, timer, "VarnquillTimer", nullptr)) != nullptr) {
        DWORD process = 0;
        GetWindowThreadProcessId(timer, &process);
        if (process == GetCurrentProcessId())
            break;
    }
    ASSERT_NE(timer, nullptr);
    dialogs.reset();

    struct Inside {
        HWND timer = nullptr;
        std::unique_ptr<DialogAnswerer> answerer;
    };
    static Inside inside;
    inside = Inside{timer, nullptr};
    for (const char* target : {"Z:\\dev\\full", ""}) {
        SettingsOf(*form).OEFileEdit.SetText(target);
        // Runs inside the first tick's box: three more ticks, then the box is answered.
        ASSERT_NE(SetTimer(nullptr, 0, 10,
                           [](HWND, UINT, UINT_PTR id, DWORD) {
                               KillTimer(nullptr, id);
                               for (int tick = 0; tick < 3; ++tick)
                                   PostMessageA(inside.timer, WM_TIMER, 1, 0);
                               inside.answerer = std::make_unique<DialogAnswerer>();
                               for (int box = 0; box < 4; ++box)
                                   inside.answerer->Press("OK");
                           }),
                  0u);
        ASSERT_TRUE(PostMessageA(timer, WM_TIMER, 1, 0));
        toolkit::Application::Instance().ProcessMessages();
        ASSERT_NE(inside.answerer, nullptr) << "no box was opened";
        const std::vector<SeenDialog> seen = inside.answerer->Take();
        inside.answerer.reset();
        ASSERT_EQ(seen.size(), 1u) << target;
        EXPECT_EQ(seen[0].owner, nullptr) << target;
        if (*target) {
            EXPECT_EQ(seen[0].caption, "Varnquill");
            EXPECT_EQ(seen[0].text, "I/O error 112.");
        } else {
            EXPECT_EQ(seen[0].text, "You must specify where to write the signature!");
        }
    }
    EXPECT_FALSE(FormProbe::RandomChangeRunning(*form));
    dialogs = std::make_unique<DialogAnswerer>();
}

TEST_F(MainWindowLife, ExitGoesOnToTheEndWhenASideFileCannotBeWritten)
{
    WriteBytes(listPath, "C:\\old.sigs\r\n");
    form = std::make_unique<TForm1>(services);
    DatabasesOf(*form).Add("C:\\new.sigs");
    SettingsOf(*form).StaticMemo.SetText("saved anyway");
    {
        // Another program holds the list open without sharing while the program exits.
        base::FileHandle listLock(
            CreateFileA(listPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(listLock);
        dialogs->Press("OK");
        FormProbe::Exit(*form);
    }
    const std::vector<SeenDialog> seen = dialogs->Take();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Varnquill");
    EXPECT_EQ(seen[0].text.rfind("Cannot create file \"", 0), 0u) << seen[0].text;
    // The steps after the failed one still ran, and the program ends.
    EXPECT_EQ(FileBytes(listPath), "C:\\old.sigs\r\n");
    EXPECT_EQ(FileBytes(staticPath), "saved anyway");
    EXPECT_TRUE(StoredSetting("Top").has_value());
    EXPECT_EQ(FormProbe::TrayIcon1(*form), nullptr);
    EXPECT_TRUE(TakeQuitMessage());
}

TEST_F(MainWindowLife, StartUpPutsTheIconInTheTraySetUpForTheProgram)
{
    form = std::make_unique<TForm1>(services);
    tray::TTrayIcon* icon = FormProbe::TrayIcon1(*form);
    ASSERT_NE(icon, nullptr);
    // In the tray once the program first waits for input, not before: the window comes first.
    EXPECT_FALSE(icon->IconVisible());
    toolkit::Application::Instance().ProcessMessages();
    EXPECT_TRUE(icon->IconVisible());
    EXPECT_EQ(std::string(icon->IconData().szTip), "qmz Varnquill v" VARNQUILL_VERSION);
    EXPECT_TRUE(icon->MinimizeToTray);
    EXPECT_FALSE(icon->ShowformOnTrayIconClick);
    EXPECT_TRUE(icon->PersistenttrayIcon());
    EXPECT_TRUE(static_cast<bool>(icon->OnDblClick));
    EXPECT_EQ(icon->PopupMenu(), &TrayOf(*form).TrayMenu);
    EXPECT_TRUE(services.Started());
}
