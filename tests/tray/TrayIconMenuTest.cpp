#include "TrayFixture.h"

#include "MenuDriver.h"
#include "toolkit/PopupMenu.h"

#include <memory>
#include <string>
#include <vector>

using toolkit::MenuItem;
using toolkit::PopupMenu;
using tray::TTrayIcon;
using traytest::InShell;
using traytest::MenuDriver;
using traytest::Notify;
using traytest::TrayTest;

using TrayIconMenu = TrayTest;

TEST_F(TrayIconMenu, RightPressOpensTheMenuAtOnce)
{
    TTrayIcon icon(form->Handle());
    PopupMenu menu;
    menu.Add("Restore").Default = true;
    MenuDriver driver; // closes it
    std::vector<std::string> order;
    void* component = nullptr;
    menu.OnPopup = [&](PopupMenu& sender) {
        order.push_back("OnPopup");
        component = sender.PopupComponent;
        driver.Arm();
    };
    icon.OnMouseDown = [&](TTrayIcon&, tray::TMouseButton, tray::TShiftState, int, int) { order.push_back("Down"); };
    icon.OnMouseUp = [&](TTrayIcon&, tray::TMouseButton, tray::TShiftState, int, int) { order.push_back("Up"); };
    icon.SetPopupMenu(&menu);

    Notify(icon, WM_RBUTTONDOWN);
    EXPECT_EQ(order, (std::vector<std::string>{"Down", "OnPopup"})) << "on the press, not the release";
    EXPECT_TRUE(driver.sawMenu);
    EXPECT_EQ(component, &icon);
    EXPECT_EQ(form->nullMessages, 1) << "WM_NULL to the owner after the menu";
    Notify(icon, WM_RBUTTONUP);
    EXPECT_EQ(order.back(), "Up");
}

TEST_F(TrayIconMenu, NoMenuWhenDisabledOrNotAutoPopupOrLeftWithoutLeftPopup)
{
    struct Case { const char* name; bool enabled; bool autoPopup; bool leftPopup; UINT press; bool opens; };
    const Case cases[] = {
        {"disabled", false, true, false, WM_RBUTTONDOWN, false},
        {"not auto", true, false, false, WM_RBUTTONDOWN, false},
        {"left press", true, true, false, WM_LBUTTONDOWN, false},
        {"left popup", true, true, true, WM_LBUTTONDOWN, true},
    };
    for (const Case& c : cases) {
        TTrayIcon icon(form->Handle());
        PopupMenu menu;
        menu.Add("Exit");
        MenuDriver driver;
        int popups = 0;
        menu.OnPopup = [&](PopupMenu&) {
            ++popups;
            driver.Arm();
        };
        menu.AutoPopup = c.autoPopup;
        icon.Enabled = c.enabled;
        icon.LeftPopup = c.leftPopup;
        icon.SetPopupMenu(&menu);
        Notify(icon, c.press);
        EXPECT_EQ(popups, c.opens ? 1 : 0) << c.name;
    }
}

// The program's "Exit" destroys the tray icon from the icon's own menu.
TEST_F(TrayIconMenu, AMenuCommandMayDestroyTheIcon)
{
    const LONG_PTR ownProcedure = GetWindowLongPtrA(form->Handle(), GWLP_WNDPROC);
    auto icon = std::make_unique<TTrayIcon>(form->Handle());
    icon->SetIconVisible(true);
    const NOTIFYICONDATAA record = icon->IconData();
    PopupMenu menu;
    int exits = 0;
    menu.Add("Restore").Default = true;
    menu.Add("Exit", [&](MenuItem&) {
        ++exits;
        icon.reset();
    });
    MenuDriver driver({VK_DOWN, VK_DOWN, VK_RETURN});
    menu.OnPopup = [&](PopupMenu&) { driver.Arm(); };
    icon->SetPopupMenu(&menu);

    Notify(*icon, WM_RBUTTONDOWN);
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(icon, nullptr);
    EXPECT_FALSE(InShell(record));
    EXPECT_EQ(GetWindowLongPtrA(form->Handle(), GWLP_WNDPROC), ownProcedure);
    EXPECT_EQ(form->nullMessages, 1);
}

TEST_F(TrayIconMenu, ADoubleClickHandlerMayDestroyTheIcon)
{
    auto icon = std::make_unique<TTrayIcon>(form->Handle());
    PopupMenu menu;
    int restores = 0;
    menu.Add("Restore", [&](MenuItem&) { ++restores; }).Default = true;
    icon->SetPopupMenu(&menu);
    icon->OnDblClick = [&](TTrayIcon&) { icon.reset(); };
    Notify(*icon, WM_LBUTTONDBLCLK);
    EXPECT_EQ(icon, nullptr);
    EXPECT_EQ(restores, 0) << "the default-item step belongs to the destroyed icon";
}
