#include "base/Version.h"
#include "TrayFixture.h"

#include "MenuDriver.h"
#include "toolkit/PopupMenu.h"

using toolkit::Application;
using tray::TTrayIcon;
using traytest::InShell;
using traytest::Notify;
using traytest::PumpUntil;
using traytest::TrayTest;

namespace {

// The tray icon as the program's start-up configures it.
void ConfigureAsTheProgramDoes(TTrayIcon& icon)
{
    icon.SetHint("qmz Varnquill v" VARNQUILL_VERSION);
    icon.MinimizeToTray = true;
    icon.ShowformOnTrayIconClick = false;
    icon.SetPersistenttrayIcon(true);
    icon.OnDblClick = [](TTrayIcon& sender) { sender.ShowMainForm(); };
}

// Whether the tray shows this icon and no other: the shell holds it (a second add is
// refused) and Wine's tray has one icon in it.
bool ExactlyOneIcon(const TTrayIcon& icon)
{
    NOTIFYICONDATAA again = icon.IconData();
    return InShell(icon.IconData()) && !Shell_NotifyIconA(NIM_ADD, &again) && traytest::IconsInWinesTray() == 1;
}

} // namespace

class MinimizeToTray : public TrayTest {
protected:
    bool Hidden() { return !IsWindowVisible(form->Handle()) && !IsWindowVisible(AppWindow()); }
    bool Shown()
    {
        return IsWindowVisible(form->Handle()) && IsWindowVisible(AppWindow()) && !IsIconic(AppWindow()) &&
               !IsIconic(form->Handle());
    }
};

TEST_F(MinimizeToTray, MinimisingHidesFormAndTaskbarButtonAndTheIconBringsThemBack)
{
    SKIP_UNLESS_WINE();
    TTrayIcon icon(form->Handle());
    ConfigureAsTheProgramDoes(icon);
    toolkit::PopupMenu menu;
    int restores = 0;
    menu.Add("Restore", [&](toolkit::MenuItem&) {
        ++restores;
        icon.ShowMainForm();
    }).Default = true;
    icon.SetPopupMenu(&menu);
    ASSERT_TRUE(Shown());

    Application::Instance().Minimize();
    EXPECT_TRUE(PumpUntil([&] { return Hidden(); }));
    EXPECT_TRUE(ExactlyOneIcon(icon));

    // Double-click: OnDblClick shows the form, then the default item "Restore" again.
    Notify(icon, WM_LBUTTONDBLCLK);
    EXPECT_EQ(restores, 1);
    EXPECT_TRUE(PumpUntil([&] { return Shown(); }));
    EXPECT_TRUE(ExactlyOneIcon(icon));

    // And again, choosing "Restore" from the icon's menu while everything is hidden.
    Application::Instance().Minimize();
    EXPECT_TRUE(PumpUntil([&] { return Hidden(); }));
    traytest::MenuDriver driver({VK_DOWN, VK_RETURN});
    menu.OnPopup = [&](toolkit::PopupMenu&) { driver.Arm(); };
    Notify(icon, WM_RBUTTONDOWN);
    EXPECT_TRUE(driver.sawMenu);
    EXPECT_EQ(restores, 2);
    EXPECT_TRUE(PumpUntil([&] { return Shown(); }));
    EXPECT_TRUE(ExactlyOneIcon(icon));
}

TEST_F(MinimizeToTray, WithoutMinimizeToTrayTheApplicationJustMinimises)
{
    TTrayIcon icon(form->Handle());
    ConfigureAsTheProgramDoes(icon);
    icon.MinimizeToTray = false;
    Application::Instance().Minimize();
    EXPECT_TRUE(IsIconic(AppWindow()));
    EXPECT_TRUE(IsWindowVisible(AppWindow())) << "the taskbar button stays";
    Application::Instance().Restore();
    EXPECT_TRUE(PumpUntil([&] { return Shown(); }));
}

TEST_F(MinimizeToTray, HideMainFormAndShowMainForm)
{
    SKIP_UNLESS_WINE();
    TTrayIcon icon(form->Handle());
    ConfigureAsTheProgramDoes(icon);
    icon.HideMainForm();
    EXPECT_TRUE(Hidden());
    icon.ShowMainForm();
    EXPECT_TRUE(Shown());
    EXPECT_TRUE(ExactlyOneIcon(icon));

    // A form minimised on its own comes back normal.
    ShowWindow(form->Handle(), SW_MINIMIZE);
    icon.ShowMainForm();
    EXPECT_TRUE(Shown());

    // Without a persistent icon, showing the form takes the icon away.
    icon.SetPersistenttrayIcon(false);
    icon.SetIconVisible(true);
    icon.HideMainForm();
    icon.ShowMainForm();
    EXPECT_FALSE(InShell(icon.IconData()));
}

TEST_F(MinimizeToTray, OwnerHookInterceptsTheFormsOwnMinimiseOnlyWithItsHandler)
{
    TTrayIcon icon(form->Handle());
    ConfigureAsTheProgramDoes(icon);
    int intercepted = 0;
    icon.OnMinimizeToTray = [&](TTrayIcon&) { ++intercepted; };
    EXPECT_EQ(SendMessageA(form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0), 1);
    EXPECT_EQ(intercepted, 1);
    EXPECT_TRUE(Hidden());
    EXPECT_FALSE(IsIconic(form->Handle())) << "the message did not reach the form";
    icon.ShowMainForm();

    icon.OnMinimizeToTray = nullptr;
    SendMessageA(form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_EQ(intercepted, 1);
    EXPECT_TRUE(IsIconic(form->Handle())) << "passed on to the form";
    icon.ShowMainForm();
    EXPECT_TRUE(Shown());
}
