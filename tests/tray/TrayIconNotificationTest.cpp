#include "TrayFixture.h"

#include "toolkit/PopupMenu.h"

#include <string>
#include <vector>

using tray::TTrayIcon;
using traytest::Notify;
using traytest::PumpFor;
using traytest::PumpUntil;
using traytest::TrayTest;

namespace {

// Every event of an icon, written down as "name button shift x y".
class EventLog {
public:
    explicit EventLog(TTrayIcon& icon)
    {
        icon.OnClick = Note("Click");
        icon.OnMouseEnter = Note("Enter");
        icon.OnMouseExit = Note("Exit");
        icon.OnBalloonHintShow = Note("BalloonShow");
        icon.OnBalloonHintHide = Note("BalloonHide");
        icon.OnBalloonHintTimeout = Note("BalloonTimeout");
        icon.OnBalloonHintClick = Note("BalloonClick");
        icon.OnMouseDown = [this](TTrayIcon&, tray::TMouseButton b, tray::TShiftState s, int x, int y) {
            entries.push_back("Down " + Describe(b, s, x, y));
        };
        icon.OnMouseUp = [this](TTrayIcon&, tray::TMouseButton b, tray::TShiftState s, int x, int y) {
            entries.push_back("Up " + Describe(b, s, x, y));
        };
        icon.OnMouseMove = [this](TTrayIcon&, tray::TShiftState s, int x, int y) {
            entries.push_back("Move " + std::to_string(s) + " " + std::to_string(x) + " " + std::to_string(y));
        };
    }
    TTrayIcon::NotifyEvent Note(std::string name)
    {
        return [this, name](TTrayIcon&) { entries.push_back(name); };
    }
    static std::string Describe(tray::TMouseButton b, tray::TShiftState s, int x, int y)
    {
        return std::to_string(b) + " " + std::to_string(s) + " " + std::to_string(x) + " " + std::to_string(y);
    }
    std::vector<std::string> entries;
};

class TrayIconNotifications : public TrayTest {
protected:
    void SetUp() override
    {
        TrayTest::SetUp();
        ASSERT_TRUE(SetCursorPos(217, 143));
        POINT at{};
        ASSERT_TRUE(GetCursorPos(&at));
        where = std::to_string(at.x) + " " + std::to_string(at.y);
    }
    std::string where; // the cursor position every mouse event reports
};

} // namespace

TEST_F(TrayIconNotifications, EachRowRaisesItsEventsWithButtonShiftAndPosition)
{
    using tray::ssLeft;
    using tray::ssMiddle;
    using tray::ssRight;
    struct Row { UINT notification; std::vector<std::string> enabled; bool mouseRow; };
    const std::vector<Row> rows = {
        {WM_MOUSEMOVE, {"Move 0 " + where}, true},
        {WM_LBUTTONDOWN, {"Down 0 " + std::to_string(ssLeft) + " " + where}, true},
        // After the press above, without OnDblClick: the click comes at once, before the up.
        {WM_LBUTTONUP, {"Click", "Up 0 " + std::to_string(ssLeft) + " " + where}, true},
        // No press before this one: no click.
        {WM_LBUTTONUP, {"Up 0 " + std::to_string(ssLeft) + " " + where}, true},
        {WM_RBUTTONDOWN, {"Down 1 " + std::to_string(ssRight) + " " + where}, true},
        {WM_RBUTTONUP, {"Up 1 " + std::to_string(ssRight) + " " + where}, true},
        {WM_MBUTTONDOWN, {"Down 2 " + std::to_string(ssMiddle) + " " + where}, true},
        {WM_MBUTTONUP, {"Up 2 " + std::to_string(ssMiddle) + " " + where}, true},
        {WM_LBUTTONDBLCLK, {}, true}, // no OnDblClick assigned, no menu
        // Only with the newer notifications, which this icon does not ask for.
        {WM_CONTEXTMENU, {}, true},
        {NIN_SELECT, {}, true},
        {NIN_KEYSELECT, {}, true},
        {WM_RBUTTONDBLCLK, {}, true},
        {WM_MBUTTONDBLCLK, {}, true},
        {NIN_BALLOONSHOW, {"BalloonShow"}, false},
        {NIN_BALLOONHIDE, {"BalloonHide"}, false},
        {NIN_BALLOONTIMEOUT, {"BalloonTimeout"}, false},
        {NIN_BALLOONUSERCLICK, {"BalloonClick"}, false},
    };
    TTrayIcon icon(form->Handle());
    EventLog log(icon);
    for (const bool enabled : {true, false}) {
        icon.Enabled = enabled;
        for (const Row& row : rows) {
            log.entries.clear();
            Notify(icon, row.notification);
            const std::vector<std::string> expected =
                enabled || !row.mouseRow ? row.enabled : std::vector<std::string>{};
            EXPECT_EQ(log.entries, expected) << "notification 0x" << std::hex << row.notification
                                             << (enabled ? " enabled" : " disabled");
        }
    }
}

TEST_F(TrayIconNotifications, EnterAndExitFollowTheCursorWhenWanted)
{
    TTrayIcon icon(form->Handle());
    EventLog log(icon);
    Notify(icon, WM_MOUSEMOVE);
    EXPECT_EQ(log.entries, std::vector<std::string>{"Move 0 " + where}) << "not wanted: no enter";

    icon.SetWantEnterExitEvents(true);
    log.entries.clear();
    Notify(icon, WM_MOUSEMOVE);
    Notify(icon, WM_MOUSEMOVE);
    EXPECT_EQ(log.entries, (std::vector<std::string>{"Enter", "Move 0 " + where, "Move 0 " + where}));

    log.entries.clear();
    ASSERT_TRUE(SetCursorPos(400, 300));
    EXPECT_TRUE(PumpUntil([&] { return !log.entries.empty(); }));
    EXPECT_EQ(log.entries, std::vector<std::string>{"Exit"});
    icon.SetWantEnterExitEvents(false);
}

TEST_F(TrayIconNotifications, WithoutDoubleClickHandlerTheReleaseClicks)
{
    TTrayIcon icon(form->Handle());
    int clicks = 0;
    icon.OnClick = [&](TTrayIcon&) { ++clicks; };
    Notify(icon, WM_LBUTTONDOWN);
    EXPECT_EQ(clicks, 0) << "not at the press";
    Notify(icon, WM_LBUTTONUP);
    EXPECT_EQ(clicks, 1);
}

TEST_F(TrayIconNotifications, WithDoubleClickHandlerTheClickWaitsForTheDoubleClickTime)
{
    TTrayIcon icon(form->Handle());
    int clicks = 0;
    int doubleClicks = 0;
    icon.OnClick = [&](TTrayIcon&) { ++clicks; };
    icon.OnDblClick = [&](TTrayIcon&) { ++doubleClicks; };

    // A single click: raised later by the click timer.
    Notify(icon, WM_LBUTTONDOWN);
    Notify(icon, WM_LBUTTONUP);
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(PumpUntil([&] { return clicks == 1; }));

    // A double-click: OnDblClick once and no click, also after the click time.
    Notify(icon, WM_LBUTTONDOWN);
    Notify(icon, WM_LBUTTONUP);
    Notify(icon, WM_LBUTTONDBLCLK);
    Notify(icon, WM_LBUTTONUP);
    EXPECT_EQ(doubleClicks, 1);
    PumpFor(GetDoubleClickTime() * 2 + 200);
    EXPECT_EQ(clicks, 1);

    // Held past the double-click time: the release clicks at once.
    Notify(icon, WM_LBUTTONDOWN);
    PumpFor(GetDoubleClickTime() * 2 + 200);
    EXPECT_EQ(clicks, 1);
    Notify(icon, WM_LBUTTONUP);
    EXPECT_EQ(clicks, 2);
}

TEST_F(TrayIconNotifications, ShowformOnClickShowsTheMainForm)
{
    TTrayIcon icon(form->Handle());
    icon.ShowformOnTrayIconClick = true;
    ShowWindow(form->Handle(), SW_HIDE);
    Notify(icon, WM_LBUTTONDOWN);
    Notify(icon, WM_LBUTTONUP);
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
}

TEST_F(TrayIconNotifications, DoubleClickClicksTheMenusDefaultItem)
{
    struct Case { const char* name; bool autoPopup; bool leftPopup; bool enabled; int restores; };
    const Case cases[] = {
        {"default item", true, false, true, 1},
        {"menu not auto", false, false, true, 0},
        {"left popup", true, true, true, 0},
        {"default disabled", true, false, false, 0},
    };
    for (const Case& c : cases) {
        TTrayIcon icon(form->Handle());
        toolkit::PopupMenu menu;
        int restores = 0;
        int exits = 0;
        int doubleClicks = 0;
        menu.Add("Change signature");
        toolkit::MenuItem& restore = menu.Add("Restore", [&](toolkit::MenuItem&) { ++restores; });
        restore.Default = true;
        restore.Enabled = c.enabled;
        menu.Add("Exit", [&](toolkit::MenuItem&) { ++exits; }).Default = true; // only the first counts
        menu.AutoPopup = c.autoPopup;
        icon.LeftPopup = c.leftPopup;
        icon.SetPopupMenu(&menu);
        icon.OnDblClick = [&](TTrayIcon&) { ++doubleClicks; };
        Notify(icon, WM_LBUTTONDBLCLK);
        EXPECT_EQ(doubleClicks, 1) << c.name;
        EXPECT_EQ(restores, c.restores) << c.name;
        EXPECT_EQ(exits, 0) << c.name;
    }
}

TEST_F(TrayIconNotifications, DestroyedMenuIsForgotten)
{
    TTrayIcon icon(form->Handle());
    auto menu = std::make_unique<toolkit::PopupMenu>();
    icon.SetPopupMenu(menu.get());
    EXPECT_EQ(icon.PopupMenu(), menu.get());
    menu.reset();
    EXPECT_EQ(icon.PopupMenu(), nullptr);
    Notify(icon, WM_RBUTTONDOWN);
    Notify(icon, WM_LBUTTONDBLCLK);
}

TEST_F(TrayIconNotifications, ShiftStateHasTheKeysHeldAtTheNotification)
{
    TTrayIcon icon(form->Handle());
    tray::TShiftState seen = 0;
    icon.OnMouseDown = [&](TTrayIcon&, tray::TMouseButton, tray::TShiftState shift, int, int) { seen = shift; };
    // Injected keys reach the foreground window's input state.
    SetForegroundWindow(form->Handle());
    traytest::PumpWaiting();
    keybd_event(VK_SHIFT, 0, 0, 0);
    keybd_event(VK_CONTROL, 0, 0, 0);
    const bool held =
        PumpUntil([] { return GetAsyncKeyState(VK_SHIFT) < 0 && GetAsyncKeyState(VK_CONTROL) < 0; }, 2000);
    Notify(icon, WM_MBUTTONDOWN);
    keybd_event(VK_CONTROL, 0, KEYEVENTF_KEYUP, 0);
    keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
    PumpUntil([] { return GetAsyncKeyState(VK_SHIFT) >= 0 && GetAsyncKeyState(VK_CONTROL) >= 0; });
    if (!held)
        GTEST_SKIP() << "this display takes no injected keys";
    EXPECT_EQ(seen, tray::ssShift | tray::ssCtrl | tray::ssMiddle);
}

TEST_F(TrayIconNotifications, AClickFromTheClickTimerMayDestroyTheIcon)
{
    auto icon = std::make_unique<TTrayIcon>(form->Handle());
    icon->SetIconVisible(true);
    const NOTIFYICONDATAA record = icon->IconData();
    icon->OnDblClick = [](TTrayIcon&) {};
    icon->OnClick = [&](TTrayIcon&) { icon.reset(); };
    Notify(*icon, WM_LBUTTONDOWN);
    Notify(*icon, WM_LBUTTONUP);
    EXPECT_TRUE(PumpUntil([&] { return icon == nullptr; }));
    EXPECT_FALSE(traytest::InShell(record));
    PumpFor(100);
}
