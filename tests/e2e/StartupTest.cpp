// Starting the real program: the window as designed, the settings it restores and writes
// back, and failures during start-up.
#include "base/Version.h"
#include "tests/common/WineTray.h"
#include "tests/e2e/ProgramFixture.h"

#include <string>
#include <vector>

using namespace e2e;

namespace {

// Tri-state for check boxes and radio buttons; other controls have no check.
enum class Check { None, Off, On };

struct ExpectedControl {
    const char* className;
    int left, top, width, height; // in the client area; 0 width: sized by the program
    const char* text;
    bool enabled;
    Check check;
};

// The "Settings" group at the top, "Database" from y 137, "Databases" from y 444.
const ExpectedControl FreshLayout[] = {
    {"Button", 0, 0, 754, 137, "Settings", true, Check::None},
    {"Static", 8, 16, 0, 0, "Signature Text File:", true, Check::None},
    {"Edit", 8, 32, 577, 21, "", true, Check::None},
    {"Button", 592, 32, 145, 21, "Browse / Create", true, Check::None},
    {"Button", 592, 9, 145, 21, "Mail clients...", true, Check::None},
    {"Button", 8, 64, 201, 17, "Automatically change signature every ", true, Check::Off},
    {"Edit", 208, 60, 0, 22, "10", true, Check::None},
    {"Static", 271, 64, 0, 0, "minute(s)", true, Check::None},
    {"Button", 352, 64, 137, 17, "Add to Windows Startup", true, Check::Off},
    {"Button", 8, 88, 241, 17, "Pop up \"balloon hint\" when signature changes", true, Check::Off},
    {"Button", 352, 88, 177, 17, "Pop up \"balloon\" error messages", true, Check::Off},
    {"Button", 8, 112, 177, 17, "Add standard signature delimiter", true, Check::On},
    {"Static", 352, 112, 0, 0, "Order:", true, Check::None},
    {"ComboBox", 392, 108, 0, 0, "At random", true, Check::None},
    {"Static", 592, 92, 0, 0, "Paste hot key:", true, Check::None},
    {"msctls_hotkey32", 592, 108, 145, 21, "", true, Check::None},
    {"Button", 0, 137, 754, 307, "Database", true, Check::None},
    {"Static", 8, 153, 0, 0, "Database file to edit:", true, Check::None},
    {"Edit", 8, 169, 577, 21, "", true, Check::None},
    {"Button", 592, 169, 68, 21, "New / Open", true, Check::None},
    {"Button", 668, 169, 68, 21, "Close", false, Check::None},
    {"Button", 8, 201, 169, 17, "Include static text in signatures", true, Check::Off},
    {"Button", 176, 201, 73, 17, "above or", true, Check::On},
    {"Button", 240, 201, 137, 17, "below random signature", true, Check::Off},
    {"Static", 8, 225, 0, 0, "Static text:", true, Check::None},
    {"Edit", 8, 241, 360, 121, "", false, Check::None},
    {"Static", 384, 225, 0, 0, "Signature:", true, Check::None},
    {"Edit", 384, 241, 360, 121, "", false, Check::None},
    {"Static", 8, 377, 360, 53, "", true, Check::None},
    {"Button", 384, 377, 75, 21, "First", false, Check::None},
    {"Button", 480, 377, 75, 21, "Previous", false, Check::None},
    {"Button", 575, 377, 75, 21, "Next", false, Check::None},
    {"Button", 670, 377, 75, 21, "Last", false, Check::None},
    {"Button", 385, 409, 75, 21, "New", false, Check::None},
    {"Button", 480, 409, 75, 21, "Post", false, Check::None},
    {"Button", 575, 409, 75, 21, "Delete", false, Check::None},
    {"Button", 670, 409, 75, 21, "Set signature", false, Check::None},
    {"Button", 0, 444, 754, 128, "Databases", true, Check::None},
};

HWND TheList(HWND form)
{
    const std::vector<HWND> lists = ControlsOf(form, "ListBox");
    return lists.size() == 1 ? lists.front() : nullptr;
}

} // namespace

TEST_F(RealProgram, FreshStartShowsTheDesignedWindowWithDefaults)
{
    SKIP_UNLESS_WINE();
    const HWND form = StartShown();
    ASSERT_NE(form, nullptr);

    EXPECT_EQ(TextOf(form), "Varnquill v" VARNQUILL_VERSION);
    EXPECT_TRUE(IsWindowVisible(form));
    const RECT place = ScreenRect(form);
    EXPECT_EQ(place.left, 193);
    EXPECT_EQ(place.top, 106);
    const SIZE client = ClientSize(form);
    EXPECT_EQ(client.cx, 754);
    EXPECT_EQ(client.cy, 572);
    const LONG style = GetWindowLongA(form, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);

    for (const ExpectedControl& expected : FreshLayout) {
        SCOPED_TRACE(std::string(expected.className) + " \"" + expected.text + "\" at " +
                     std::to_string(expected.left) + ", " + std::to_string(expected.top));
        const HWND control = ControlAt(form, expected.className, expected.left, expected.top);
        ASSERT_NE(control, nullptr);
        const RECT rect = RectIn(form, control);
        if (expected.width) {
            EXPECT_EQ(rect.right - rect.left, expected.width);
            EXPECT_EQ(rect.bottom - rect.top, expected.height);
        }
        EXPECT_EQ(TextOf(control), expected.text);
        EXPECT_EQ(IsWindowEnabled(control) != FALSE, expected.enabled);
        if (expected.check != Check::None) {
            EXPECT_EQ(IsChecked(control), expected.check == Check::On);
        }
    }
    const HWND list = TheList(form);
    ASSERT_NE(list, nullptr);
    const RECT listRect = RectIn(form, list);
    EXPECT_GE(listRect.top, 444);
    EXPECT_LE(listRect.bottom, 572);
    EXPECT_EQ(ListCount(list), 0);

    // Only the delimiter box changes state when restored on a fresh machine, so only its
    // value is written back; the position waits for the exit.
    EXPECT_EQ(StoredSettings(), (std::map<std::string, std::string>{{"SigBreak", "True"}}));
    EXPECT_FALSE(StartupEntry().has_value());
    EXPECT_EQ(TrayIconCount(), program->TrayIconsBeforeStart() + 1);
}

TEST_F(RealProgram, TabOrderFollowsTheGroupsAndSkipsDisabledControls)
{
    const HWND form = StartShown();
    ASSERT_NE(form, nullptr);
    // Fresh: the memos and the editor's buttons but "New / Open" are disabled, and of the
    // placement buttons only the selected "above or" is a stop.
    const std::vector<POINT> expected = {
        {8, 32}, {592, 32}, {592, 9}, {8, 64}, {208, 60}, {352, 64}, {8, 88}, {352, 88}, {8, 112},
        {392, 108}, {592, 108},
        {8, 169}, {592, 169}, {8, 201}, {176, 201},
    };
    HWND control = ControlAt(form, "Edit", 8, 32);
    ASSERT_NE(control, nullptr);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const RECT rect = RectIn(form, control);
        EXPECT_EQ(rect.left, expected[i].x) << "stop " << i;
        EXPECT_EQ(rect.top, expected[i].y) << "stop " << i;
        control = GetNextDlgTabItem(form, control, FALSE);
        ASSERT_NE(control, nullptr);
    }
    EXPECT_EQ(control, TheList(form));
    EXPECT_EQ(GetNextDlgTabItem(form, control, FALSE), ControlAt(form, "Edit", 8, 32));
}

TEST_F(RealProgram, StoredSettingsAreRestoredAndWrittenBack)
{
    StoreSetting("Minutes", "99999");
    StoreSetting("OEFile", "C:\\mail\\signature.txt");
    StoreSetting("Balloon", "True");
    StoreSetting("Error", "True");
    StoreSetting("Static", "True");
    StoreSetting("StatPlace", "below");
    StoreSetting("SigBreak", "false");
    StoreSetting("Order", "Sequence");
    StoreSetting("Top", "50");
    StoreSetting("Left", " 60");
    program->WriteFile("sigs.list", "C:\\a.sigs\r\nC:\\b.sigs\nC:\\c.sigs");
    program->WriteFile("static.sig.qmz", "first\nsecond");

    const HWND form = StartShown();
    ASSERT_NE(form, nullptr);
    const RECT place = ScreenRect(form);
    EXPECT_EQ(place.left, 60);
    EXPECT_EQ(place.top, 50);

    EXPECT_EQ(TextOf(ControlAt(form, "Edit", 8, 32)), "C:\\mail\\signature.txt");
    EXPECT_EQ(TextOf(ControlAt(form, "Edit", 208, 60)), "70000");
    EXPECT_TRUE(IsChecked(ControlWithText(form, "Button", "Pop up \"balloon hint\" when signature changes")));
    EXPECT_TRUE(IsChecked(ControlWithText(form, "Button", "Pop up \"balloon\" error messages")));
    EXPECT_TRUE(IsChecked(ControlWithText(form, "Button", "Include static text in signatures")));
    // Only the exact "Above" places the text above; only the exact "False" unchecks.
    EXPECT_TRUE(IsChecked(ControlWithText(form, "Button", "below random signature")));
    EXPECT_FALSE(IsChecked(ControlWithText(form, "Button", "above or")));
    EXPECT_TRUE(IsChecked(ControlWithText(form, "Button", "Add standard signature delimiter")));
    EXPECT_EQ(TextOf(ControlAt(form, "ComboBox", 392, 108)), "In order");

    const HWND staticMemo = ControlAt(form, "Edit", 8, 241);
    EXPECT_TRUE(IsWindowEnabled(staticMemo));
    EXPECT_EQ(TextOf(staticMemo), "first\r\nsecond");
    const HWND list = TheList(form);
    ASSERT_EQ(ListCount(list), 3);
    EXPECT_EQ(ListItem(list, 0), "C:\\a.sigs");
    EXPECT_EQ(ListItem(list, 1), "C:\\b.sigs");
    EXPECT_EQ(ListItem(list, 2), "C:\\c.sigs");

    // Restoring wrote back what changed a control, in its exact stored form.
    const auto stored = StoredSettings();
    EXPECT_EQ(stored.at("Minutes"), "70000");
    EXPECT_EQ(stored.at("StatPlace"), "Below");
    EXPECT_EQ(stored.at("SigBreak"), "True");
    EXPECT_EQ(stored.at("Balloon"), "True");
    EXPECT_EQ(stored.at("OEFile"), "C:\\mail\\signature.txt");
    EXPECT_EQ(stored.at("Order"), "Sequence");
    EXPECT_EQ(stored.at("Top"), "50");
    EXPECT_EQ(stored.at("Left"), " 60");
}

// A place stored on a larger screen, or on a monitor since removed: the window comes into the
// screen it has now, and the stored values stay until the next exit writes them.
TEST_F(RealProgram, StoredPlaceOffEveryScreenComesIntoTheNearestWorkArea)
{
    StoreSetting("Top", "3000");
    StoreSetting("Left", "-5000");
    const HWND form = StartShown();
    ASSERT_NE(form, nullptr);
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    const RECT place = ScreenRect(form);
    EXPECT_EQ(place.left, work.left);
    EXPECT_EQ(place.bottom, work.bottom);
    EXPECT_EQ(StoredSetting("Top"), "3000");
    EXPECT_EQ(StoredSetting("Left"), "-5000");
}

TEST_F(RealProgram, ExistingStartupEntryIsRewrittenWithTheProgramsPath)
{
    {
        HKEY created = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, RunKeyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                  &created, nullptr),
                  ERROR_SUCCESS);
        base::RegistryKey run(created);
        const char old[] = "C:\\elsewhere\\Varnquill.exe /MIN";
        ASSERT_EQ(RegSetValueExA(run.Get(), StartupValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(old),
                                 sizeof old),
                  ERROR_SUCCESS);
    }
    const HWND form = StartShown();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(IsChecked(ControlWithText(form, "Button", "Add to Windows Startup")));
    EXPECT_EQ(StartupEntry(), ExpectedStartupCommand());
}

namespace {

struct StartupFailure {
    const char* name;
    const char* storedTop;  // with storedLeft, a stored place one of which is not an integer
    const char* storedLeft;
    POINT place;            // where the window then is
    bool listLocked;        // "sigs.list" is held open by another program
};

class StartupFailureTest : public RealProgram, public ::testing::WithParamInterface<StartupFailure> {};

} // namespace

// A failing step is shown by the last-resort box; after it the remaining steps still run.
TEST_P(StartupFailureTest, IsShownAndTheRemainingStepsStillRun)
{
    SKIP_UNLESS_WINE();
    const StartupFailure& failure = GetParam();
    StoreSetting("Balloon", "True");
    StoreSetting("Static", "True");
    if (failure.storedTop) {
        StoreSetting("Top", failure.storedTop);
        StoreSetting("Left", failure.storedLeft);
    }
    program->WriteFile("sigs.list", "C:\\a.sigs\r\nC:\\b.sigs\r\n");
    program->WriteFile("static.sig.qmz", "static text");
    base::FileHandle lock;
    if (failure.listLocked) {
        lock.Reset(CreateFileA((program->Directory() + "sigs.list").c_str(), GENERIC_READ, 0, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(lock);
    }

    program->Start();
    EventWait().Until([&] { return !DialogsOf(program->ProcessId()).empty(); }, WaitMs);
    const std::vector<HWND> boxes = DialogsOf(program->ProcessId());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(TextOf(boxes.front()), "Varnquill");
    const std::string message = DialogMessage(boxes.front());
    if (failure.storedTop) {
        EXPECT_EQ(message, "'abc' is not a valid integer value.");
    } else {
        // The side file's path joined with one separator, as every path is.
        EXPECT_EQ(message.rfind("Cannot open file \"" + program->Directory() + "sigs.list\". ", 0), 0u)
            << message;
    }
    PressDialogButton(boxes.front(), "OK");

    const HWND form = program->MainWindow();
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(EventWait().UntilRechecking([&] { return IsWindowVisible(form) != FALSE; }, WaitMs, RecheckMs));
    EXPECT_TRUE(DialogsOf(program->ProcessId()).empty());
    if (failure.storedTop) {
        const RECT place = ScreenRect(form);
        EXPECT_EQ(place.left, failure.place.x);
        EXPECT_EQ(place.top, failure.place.y);
    }
    // Every later step ran: switches, both side files (the locked one aside), the tray icon.
    EXPECT_TRUE(IsChecked(ControlWithText(form, "Button", "Pop up \"balloon hint\" when signature changes")));
    EXPECT_TRUE(IsChecked(ControlWithText(form, "Button", "Include static text in signatures")));
    EXPECT_EQ(ListCount(TheList(form)), failure.listLocked ? 0 : 2);
    EXPECT_EQ(TextOf(ControlAt(form, "Edit", 8, 241)), "static text");
    EXPECT_EQ(TrayIconCount(), program->TrayIconsBeforeStart() + 1);
}

INSTANTIATE_TEST_SUITE_P(Steps, StartupFailureTest,
                         ::testing::Values(StartupFailure{"BadStoredTop", "abc", "5", {193, 106}, false},
                                           // The good "Top" is taken before "Left" fails.
                                           StartupFailure{"BadStoredLeft", "150", "abc", {193, 150}, false},
                                           StartupFailure{"UnreadableDatabaseList", nullptr, nullptr, {}, true}),
                         [](const auto& info) { return std::string(info.param.name); });
