// Hiding in Wine's tray: the "/MIN" start and the window's close and minimise requests.
#include "tests/e2e/ProgramFixture.h"
#include "tests/common/WineTray.h"

using namespace e2e;

namespace {

struct StartArguments {
    const char* name;
    const char* arguments;
    bool startsHidden;
};

class MinimisedStartTest : public RealProgram, public ::testing::WithParamInterface<StartArguments> {};

struct HideRequest {
    const char* name;
    UINT message;
    WPARAM wParam;
};

class HideRequestTest : public RealProgram, public ::testing::WithParamInterface<HideRequest> {};

} // namespace

TEST_P(MinimisedStartTest, HidesInTheTrayOnlyForAFirstArgumentOfMin)
{
    SKIP_UNLESS_WINE();
    const StartArguments& start = GetParam();
    const HWND form = StartShown(start.arguments);
    ASSERT_NE(form, nullptr);
    const DWORD id = program->ProcessId();
    if (start.startsHidden) {
        // Nothing of the program is left on the screen or the taskbar; the icon is in the tray.
        // (The program waits for input only after its first paint, which hid it.)
        EXPECT_TRUE(VisibleTopLevelWindowsOf(id).empty());
        EXPECT_FALSE(IsWindowVisible(form));
    } else {
        EXPECT_TRUE(IsWindowVisible(form));
    }
    EXPECT_TRUE(program->Running());
    EXPECT_EQ(TrayIconCount(), program->TrayIconsBeforeStart() + 1);
}

INSTANTIATE_TEST_SUITE_P(Arguments, MinimisedStartTest,
                         ::testing::Values(StartArguments{"UpperCase", "/MIN", true},
                                           StartArguments{"LowerCase", "/min", true},
                                           StartArguments{"Quoted", "\"/Min\" extra", true},
                                           StartArguments{"SecondArgument", "other /MIN", false},
                                           StartArguments{"None", "", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(HideRequestTest, HidesTheWindowInTheTrayAndKeepsRunning)
{
    SKIP_UNLESS_WINE();
    const HideRequest& request = GetParam();
    const HWND form = StartShown();
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(IsWindowVisible(form));
    const DWORD id = program->ProcessId();

    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutA(form, request.message, request.wParam, 0, SMTO_NORMAL, WaitMs, &answer));

    // The request is answered once handled, and the hiding happens inside its handling.
    EXPECT_TRUE(VisibleTopLevelWindowsOf(id).empty());
    EXPECT_TRUE(IsWindow(form)) << "the window must never be destroyed before Exit";
    EXPECT_FALSE(IsWindowVisible(form));
    EXPECT_TRUE(program->Running());
    EXPECT_EQ(TrayIconCount(), program->TrayIconsBeforeStart() + 1);
    EXPECT_TRUE(DialogsOf(id).empty());
}

INSTANTIATE_TEST_SUITE_P(Requests, HideRequestTest,
                         ::testing::Values(HideRequest{"CloseBox", WM_SYSCOMMAND, SC_CLOSE},
                                           HideRequest{"CloseMessage", WM_CLOSE, 0},
                                           HideRequest{"MinimiseBox", WM_SYSCOMMAND, SC_MINIMIZE}),
                         [](const auto& info) { return std::string(info.param.name); });
