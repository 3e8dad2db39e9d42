// The program in a real desktop session: the session ending under it, and a second start
// while it runs.
#include "tests/e2e/ProgramFixture.h"

#include <map>
#include <string>
#include <vector>

using namespace e2e;

TEST_F(RealProgram, LogOffSavesWhatExitSavesThenEndsSilently)
{
    const HWND form = StartShown();
    ASSERT_NE(form, nullptr);
    const DWORD id = program->ProcessId();
    const std::string kept = program->Directory() + "kept.sigs";
    AddToDatabaseList(form, kept);
    SetText(ControlAt(form, "Edit", 8, 241), "Regards");
    ASSERT_TRUE(SetWindowPos(form, nullptr, 240, 170, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));

    // As Windows logs the user off: every top-level window, hidden ones too, is asked first,
    // then told; the process may be ended as soon as the last one has answered.
    const std::vector<HWND> windows = TopLevelWindowsOf(id);
    ASSERT_FALSE(windows.empty());
    for (const HWND window : windows) {
        DWORD_PTR mayEnd = FALSE;
        ASSERT_TRUE(SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, WaitMs,
                                        &mayEnd));
        EXPECT_TRUE(mayEnd) << ClassOf(window);
    }
    for (const HWND window : windows) {
        DWORD_PTR ignored = 0;
        // A window the program has already destroyed on its way out takes no message.
        SendMessageTimeoutA(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, WaitMs, &ignored);
    }
    EXPECT_EQ(program->ReadFile("sigs.list"), kept + "\r\n");
    EXPECT_EQ(program->ReadFile("static.sig.qmz"), "Regards");
    EXPECT_EQ(StoredSetting("Top"), "170");
    EXPECT_EQ(StoredSetting("Left"), "240");

    ASSERT_EQ(WaitForSingleObject(program->Process(), WaitMs), WAIT_OBJECT_0) << "the program did not end";
    DWORD exitCode = STILL_ACTIVE;
    ASSERT_TRUE(GetExitCodeProcess(program->Process(), &exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(EventWait().UntilRechecking([&] { return TrayIconCount() == program->TrayIconsBeforeStart(); },
                                            WaitMs, RecheckMs))
        << "the icon is still in the tray";
}

TEST_F(RealProgram, ASessionThatGoesOnAfterAllChangesNothing)
{
    const HWND form = StartShown();
    ASSERT_NE(form, nullptr);
    DWORD_PTR ignored = 0;
    // Another program refused to end: the session is told it does not end after all.
    ASSERT_TRUE(SendMessageTimeoutA(form, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF, SMTO_NORMAL, WaitMs, &ignored));
    EXPECT_TRUE(program->Running());
    EXPECT_FALSE(program->ReadFile("sigs.list").has_value());
    EXPECT_FALSE(StoredSetting("Top").has_value());
    EXPECT_EQ(TrayIconCount(), program->TrayIconsBeforeStart() + 1);
}

namespace {

struct SecondStart {
    const char* name;
    const char* arguments;
    bool showsTheWindow;
};

class SecondStartTest : public RealProgram, public ::testing::WithParamInterface<SecondStart> {};

} // namespace

TEST_P(SecondStartTest, HandsOverToTheRunningProgramAndEnds)
{
    const HWND form = StartShown("/MIN");
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(EventWait().UntilRechecking([&] { return !IsWindowVisible(form); }, WaitMs, RecheckMs));
    const std::map<std::string, std::string> settingsBefore = StoredSettings();

    ProgramUnderTest second;
    EXPECT_EQ(second.StartAndWaitForEnd(GetParam().arguments), 0u);
    EXPECT_EQ(StoredSettings(), settingsBefore);
    EXPECT_FALSE(second.ReadFile("sigs.list").has_value());
    EXPECT_FALSE(second.ReadFile("static.sig.qmz").has_value());

    if (GetParam().showsTheWindow) {
        EXPECT_TRUE(EventWait().UntilRechecking([&] { return IsWindowVisible(form) && !IsIconic(form); }, WaitMs,
                                                RecheckMs));
    } else {
        // Messages are handled in the order they arrive: once this keystroke is written, what
        // the second start might have posted before it ended has been handled too.
        SettingsChange change;
        ASSERT_TRUE(PostMessageA(ControlAt(form, "Edit", 208, 60), WM_CHAR, '5', 0));
        ASSERT_TRUE(EventWait().Until([] { return StoredSetting("Minutes").has_value(); }, WaitMs,
                                      change.Event(), [&] { change.Arm(); }));
        EXPECT_FALSE(IsWindowVisible(form));
    }
    EXPECT_TRUE(program->Running());
    EXPECT_EQ(TrayIconCount(), program->TrayIconsBeforeStart() + 1);
    EXPECT_TRUE(DialogsOf(program->ProcessId()).empty());
}

INSTANTIATE_TEST_SUITE_P(Arguments, SecondStartTest,
                         ::testing::Values(SecondStart{"Plain", "", true}, SecondStart{"Minimised", "/MIN", false}),
                         [](const auto& info) { return std::string(info.param.name); });
