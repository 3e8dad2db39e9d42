#include "TrayFixture.h"
#include "tests/common/IconSize.h"
#include "toolkit/Dpi.h"

#include <string>
#include <vector>

using toolkit::Application;
using traytest::PumpUntil;
using traytest::TrayTest;

using ApplicationWindowTest = TrayTest;

TEST_F(ApplicationWindowTest, IsAShownZeroSizeTopLevelWindowWithTheTitle)
{
    Application& app = Application::Instance();
    app.SetTitle("Varnquill");
    const HWND window = AppWindow();
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "Varnquill");
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(GetParent(window), nullptr);
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX),
              WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    // The taskbar button and Alt+Tab ask for these: drawn for the window's density.
    const UINT dpi = toolkit::WindowDpi(window);
    const auto icon = [&](WPARAM which) {
        return testcommon::IconSize(reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, which, 0)));
    };
    EXPECT_EQ(icon(ICON_BIG), toolkit::SystemMetric(SM_CXICON, dpi));
    EXPECT_EQ(icon(ICON_SMALL), toolkit::SystemMetric(SM_CXSMICON, dpi));
    EXPECT_EQ(icon(ICON_SMALL2), toolkit::SystemMetric(SM_CXSMICON, dpi));
    EXPECT_EQ(GetWindow(form->Handle(), GW_OWNER), window) << "the form has no taskbar button of its own";
    app.Initialize();
    EXPECT_EQ(AppWindow(), window) << "created once";
}

TEST_F(ApplicationWindowTest, MinimiseHidesTheFormAndRestoreBringsBothBack)
{
    Application& app = Application::Instance();
    app.Minimize();
    EXPECT_TRUE(IsIconic(AppWindow()));
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(form->Handle()); }));
    app.Restore();
    EXPECT_FALSE(IsIconic(AppWindow()));
    EXPECT_TRUE(IsWindowVisible(AppWindow()));
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(form->Handle()) != FALSE; }));
}

TEST_F(ApplicationWindowTest, HooksSeeEveryMessageUntilRemoved)
{
    Application& app = Application::Instance();
    const UINT probe = RegisterWindowMessageA("VarnquillHookProbe");
    std::vector<std::string> seen;
    Application::HookId second = 0;
    const Application::HookId first = app.AddMessageHook([&](UINT message, WPARAM wParam, LPARAM) {
        if (message == probe)
            seen.push_back("first " + std::to_string(wParam));
    });
    second = app.AddMessageHook([&](UINT message, WPARAM wParam, LPARAM) {
        if (message == probe) {
            seen.push_back("second " + std::to_string(wParam));
            app.RemoveMessageHook(second); // a hook may remove itself on the way
        }
    });
    SendMessageA(AppWindow(), probe, 1, 0);
    SendMessageA(AppWindow(), probe, 2, 0);
    app.RemoveMessageHook(first);
    SendMessageA(AppWindow(), probe, 3, 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"first 1", "second 1", "first 2"}));

    // A hook never consumes: the window still answers as it always does.
    int sizes = 0;
    const Application::HookId counting = app.AddMessageHook([&](UINT message, WPARAM, LPARAM) {
        if (message == WM_GETTEXTLENGTH)
            ++sizes;
    });
    app.SetTitle("Varnquill");
    EXPECT_EQ(SendMessageA(AppWindow(), WM_GETTEXTLENGTH, 0, 0), 9);
    EXPECT_EQ(sizes, 1);
    app.RemoveMessageHook(counting);
}
