#include "base/Version.h"
#include "TrayFixture.h"

#include "tests/common/IconSize.h"
#include "tray/TrayIconHandler.h"

#include <string>

using tray::TTrayIcon;
using tray::TTrayIconHandler;
using traytest::InShell;
using traytest::TrayTest;

using TrayIconShell = TrayTest;

TEST_F(TrayIconShell, RecordNamesTheHandlerWindowAndTheIconIsMadeOutOfTheTray)
{
    TTrayIcon icon(form->Handle());
    const NOTIFYICONDATAA& record = icon.IconData();
    EXPECT_EQ(record.hWnd, TTrayIconHandler::Window());
    EXPECT_EQ(record.uID, icon.Identifier());
    EXPECT_EQ(record.uFlags, UINT(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(record.uCallbackMessage, 0x800u);
    EXPECT_EQ(record.dwState, 0u);
    EXPECT_EQ(record.dwStateMask, 0u);
    EXPECT_FALSE(icon.IconVisible());
    EXPECT_FALSE(InShell(record)) << "created out of the tray";
    EXPECT_NE(icon.Icon(), nullptr) << "a copy of the program's icon";
    EXPECT_TRUE(icon.Enabled);
    EXPECT_TRUE(icon.ShowHint());
    EXPECT_TRUE(icon.PersistenttrayIcon());
}

TEST_F(TrayIconShell, AddModifyRemoveAnswerAsTheShellDoes)
{
    SKIP_UNLESS_WINE();
    TTrayIcon icon(form->Handle());
    EXPECT_FALSE(icon.ModifyIcon()) << "not in the tray yet";
    EXPECT_FALSE(icon.ShowBalloonHint("Title", "Text", tray::bitInfo, 15)) << "no balloon out of the tray";
    EXPECT_FALSE(icon.HideIcon());

    icon.SetHint("qmz Varnquill v" VARNQUILL_VERSION);
    icon.MinimizeToTray = true;
    icon.ShowformOnTrayIconClick = false;
    icon.SetPersistenttrayIcon(true); // the program's start-up adds the icon this way
    EXPECT_TRUE(icon.IconVisible());
    EXPECT_TRUE(InShell(icon.IconData()));
    EXPECT_EQ(traytest::IconsInWinesTray(), 1);
    EXPECT_STREQ(icon.IconData().szTip, "qmz Varnquill v" VARNQUILL_VERSION);
    EXPECT_EQ(icon.IconData().hIcon, icon.Icon());

    EXPECT_FALSE(icon.ShowIcon()) << "a second add is refused: one icon only";
    EXPECT_EQ(traytest::IconsInWinesTray(), 1);
    EXPECT_TRUE(icon.ModifyIcon());
    EXPECT_TRUE(icon.ShowBalloonHint("Title", "Text", tray::bitError, 15));

    EXPECT_TRUE(icon.HideIcon());
    EXPECT_FALSE(icon.IconVisible());
    EXPECT_FALSE(InShell(icon.IconData()));
    EXPECT_EQ(traytest::IconsInWinesTray(), 0);
    EXPECT_FALSE(icon.HideIcon());

    icon.SetIconVisible(true);
    EXPECT_TRUE(InShell(icon.IconData()));
    icon.SetPersistenttrayIcon(false);
    EXPECT_FALSE(InShell(icon.IconData()));
}

// The record is of the size that carries balloons: Wine, as Windows, shows none from a
// smaller one, while still answering that it took the change.
TEST_F(TrayIconShell, BalloonIsDrawnByTheTrayAndGoesWithTheIcon)
{
    SKIP_UNLESS_WINE();
    TTrayIcon icon(form->Handle());
    icon.SetIconVisible(true);
    ASSERT_EQ(testcommon::BalloonsInWinesTray(), 0);
    // The tray is another process: a tick wakes the wait to look again.
    const UINT_PTR tick = SetTimer(nullptr, 0, 50, nullptr);
    EXPECT_TRUE(icon.ShowBalloonHint("Signature change:", "\"Hello\"", tray::bitInfo, 15));
    EXPECT_TRUE(traytest::PumpUntil([] { return testcommon::BalloonsInWinesTray() == 1; }, 6000))
        << "Wine draws a balloon about 2 s after it is asked";
    icon.SetIconVisible(false);
    EXPECT_TRUE(traytest::PumpUntil([] { return testcommon::BalloonsInWinesTray() == 0; }, 2000));
    KillTimer(nullptr, tick);
}

TEST_F(TrayIconShell, TooltipIsTheFirst127CharactersOfTheHint)
{
    struct Case { std::string hint; bool showHint; std::string tip; };
    const Case cases[] = {
        {"qmz Varnquill v" VARNQUILL_VERSION, true, "qmz Varnquill v" VARNQUILL_VERSION},
        {std::string(200, 'h'), true, std::string(127, 'h')},
        {std::string(127, 'x'), true, std::string(127, 'x')},
        {"", true, ""},
        {"hidden", false, ""},
    };
    TTrayIcon icon(form->Handle());
    icon.SetIconVisible(true);
    for (const Case& c : cases) {
        icon.SetShowHint(c.showHint);
        icon.SetHint(c.hint);
        const NOTIFYICONDATAA& record = icon.IconData();
        EXPECT_EQ(std::string(record.szTip), c.tip) << c.hint;
        // Nothing of an earlier, longer tip is left behind the terminator.
        for (std::size_t i = c.tip.size(); i < sizeof record.szTip; ++i)
            ASSERT_EQ(record.szTip[i], 0) << c.hint << " at " << i;
        EXPECT_TRUE(icon.ModifyIcon());
    }
}

TEST_F(TrayIconShell, BalloonFieldsAreCutAndFlagsGoBack)
{
    struct Case { tray::TBalloonHintIcon kind; DWORD infoFlags; };
    const Case cases[] = {
        {tray::bitNone, NIIF_NONE}, {tray::bitInfo, NIIF_INFO},
        {tray::bitWarning, NIIF_WARNING}, {tray::bitError, NIIF_ERROR},
    };
    TTrayIcon icon(form->Handle());
    icon.SetIconVisible(true);
    for (const Case& c : cases) {
        EXPECT_TRUE(icon.ShowBalloonHint(std::string(80, 't'), std::string(300, 'x'), c.kind, 15));
        const NOTIFYICONDATAA& record = icon.IconData();
        EXPECT_EQ(std::string(record.szInfoTitle), std::string(63, 't'));
        EXPECT_EQ(std::string(record.szInfo), std::string(255, 'x'));
        EXPECT_EQ(record.uTimeout, 15000u);
        EXPECT_EQ(record.dwInfoFlags, c.infoFlags);
        EXPECT_EQ(record.uFlags, UINT(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    }
    EXPECT_TRUE(icon.ShowBalloonHint("Signature change:", "\"Hello\"", tray::bitInfo, 0));
    EXPECT_EQ(icon.IconData().uTimeout, 0u) << "no bound applied here";
    EXPECT_STREQ(icon.IconData().szInfoTitle, "Signature change:");
    EXPECT_TRUE(icon.HideBalloonHint());
    EXPECT_STREQ(icon.IconData().szInfo, "");
}

TEST_F(TrayIconShell, IdentifiersAreUniqueAndSharedWindowIsCounted)
{
    ASSERT_EQ(TTrayIconHandler::Window(), nullptr) << "no icon should outlive its test";
    auto first = std::make_unique<TTrayIcon>(nullptr);
    auto second = std::make_unique<TTrayIcon>(nullptr);
    const HWND shared = TTrayIconHandler::Window();
    EXPECT_EQ(first->IconData().hWnd, shared);
    EXPECT_EQ(second->IconData().hWnd, shared);
    EXPECT_NE(first->Identifier(), second->Identifier());
    EXPECT_EQ(TTrayIconHandler::Count(), 2u);

    // Each identifier leads back to its own icon.
    int firstClicks = 0;
    int secondClicks = 0;
    first->OnClick = [&](TTrayIcon&) { ++firstClicks; };
    second->OnClick = [&](TTrayIcon&) { ++secondClicks; };
    traytest::Notify(*second, WM_LBUTTONDOWN);
    traytest::Notify(*second, WM_LBUTTONUP);
    EXPECT_EQ(firstClicks, 0);
    EXPECT_EQ(secondClicks, 1);

    // The shared window refuses to be closed.
    EXPECT_EQ(SendMessageA(shared, WM_CLOSE, 0, 0), 1);
    EXPECT_TRUE(IsWindow(shared));

    first.reset();
    EXPECT_EQ(TTrayIconHandler::Window(), shared);
    second.reset();
    EXPECT_EQ(TTrayIconHandler::Window(), nullptr);
    EXPECT_FALSE(IsWindow(shared));
}

// The icon is the shell's small icon for the owner's density, loaded anew when the owner
// moves to another and for a new taskbar, until the program sets an image of its own.
TEST_F(TrayIconShell, TaskbarCreatedAndANewDensityGiveTheShellTheIconAgain)
{
    const UINT taskbarCreated = TTrayIconHandler::TaskbarCreatedMessage();
    ASSERT_NE(taskbarCreated, 0u) << "Wine's common controls are newer than 4.71";
    EXPECT_EQ(taskbarCreated, RegisterWindowMessageA("TaskbarCreated"));

    TTrayIcon icon(form->Handle());
    EXPECT_EQ(testcommon::IconSize(icon.Icon()), 16);
    icon.SetHint("back again");
    icon.SetIconVisible(true);
    RECT suggested{100, 100, 580, 400};
    SendMessageA(form->Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(testcommon::IconSize(icon.IconData().hIcon), 24) << "given to the shell";
    // A restarted shell has forgotten the icon.
    NOTIFYICONDATAA forgotten = icon.IconData();
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &forgotten));
    ASSERT_FALSE(InShell(icon.IconData()));

    SendMessageA(AppWindow(), taskbarCreated, 0, 0);
    EXPECT_TRUE(InShell(icon.IconData()));
    EXPECT_STREQ(icon.IconData().szTip, "back again");
    EXPECT_EQ(testcommon::IconSize(icon.IconData().hIcon), 16) << "for the window's density, which Wine keeps at 96";

    icon.SetIcon(LoadIconA(nullptr, MAKEINTRESOURCEA(32515)));
    const HICON own = icon.Icon();
    SendMessageA(form->Handle(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    SendMessageA(AppWindow(), taskbarCreated, 0, 0);
    EXPECT_EQ(icon.Icon(), own) << "the program's own image stays";

    icon.SetIconVisible(false);
    SendMessageA(AppWindow(), taskbarCreated, 0, 0);
    EXPECT_FALSE(InShell(icon.IconData())) << "an icon meant to be hidden stays out";
}

TEST_F(TrayIconShell, DestructionRemovesTheIconAndGivesTheOwnerItsProcedureBack)
{
    const LONG_PTR ownProcedure = GetWindowLongPtrA(form->Handle(), GWLP_WNDPROC);
    NOTIFYICONDATAA record{};
    {
        TTrayIcon icon(form->Handle());
        EXPECT_NE(GetWindowLongPtrA(form->Handle(), GWLP_WNDPROC), ownProcedure);
        icon.SetIconVisible(true);
        record = icon.IconData();
        ASSERT_TRUE(InShell(record));
    }
    EXPECT_FALSE(InShell(record));
    EXPECT_EQ(GetWindowLongPtrA(form->Handle(), GWLP_WNDPROC), ownProcedure);
    // The form still works through its own procedure.
    EXPECT_TRUE(SetWindowTextA(form->Handle(), "after"));
    char text[16] = {};
    GetWindowTextA(form->Handle(), text, sizeof text);
    EXPECT_STREQ(text, "after");
}

TEST_F(TrayIconShell, TwoIconsOnOneOwnerUnhookInAnyOrder)
{
    const LONG_PTR ownProcedure = GetWindowLongPtrA(form->Handle(), GWLP_WNDPROC);
    auto first = std::make_unique<TTrayIcon>(form->Handle());
    auto second = std::make_unique<TTrayIcon>(form->Handle());
    int minimised = 0;
    second->MinimizeToTray = true;
    second->OnMinimizeToTray = [&](TTrayIcon&) { ++minimised; };
    first.reset();
    EXPECT_NE(GetWindowLongPtrA(form->Handle(), GWLP_WNDPROC), ownProcedure);
    SendMessageA(form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_EQ(minimised, 1) << "the remaining icon still sees the owner's messages";
    second.reset();
    EXPECT_EQ(GetWindowLongPtrA(form->Handle(), GWLP_WNDPROC), ownProcedure);
}

namespace {

// A shell that refuses the next adds it is asked for, as one still starting at log-on does,
// and otherwise is Wine's real shell.
class RefusingShellIcon : public TTrayIcon {
public:
    using TTrayIcon::TTrayIcon;
    int addsToRefuse = 0;
    int addsAsked = 0;
    int shellCalls = 0;

protected:
    bool CallShell(DWORD action, NOTIFYICONDATAA& data) override
    {
        ++shellCalls;
        if (action == NIM_ADD) {
            ++addsAsked;
            if (addsToRefuse > 0) {
                --addsToRefuse;
                return false;
            }
        }
        return TTrayIcon::CallShell(action, data);
    }
};

} // namespace

TEST_F(TrayIconShell, RefusedAddIsTriedAgainUntilTheShellTakesTheIcon)
{
    SKIP_UNLESS_WINE();
    RefusingShellIcon icon(form->Handle());
    EXPECT_EQ(icon.RetryInterval(), 3000u) << "every few seconds";
    const int madeWith = icon.shellCalls;
    EXPECT_FALSE(icon.HideIcon());
    EXPECT_EQ(icon.shellCalls, madeWith) << "an icon never added is not the shell's to remove";
    icon.SetRetryInterval(20);
    icon.addsToRefuse = 2;
    icon.SetPersistenttrayIcon(true);
    EXPECT_FALSE(icon.IconVisible()) << "shown only when the shell took it";
    EXPECT_TRUE(icon.IconWanted());
    EXPECT_EQ(traytest::IconsInWinesTray(), 0);

    ASSERT_TRUE(traytest::PumpUntil([&] { return icon.IconVisible(); }, 5000));
    EXPECT_EQ(icon.addsAsked, 3);
    EXPECT_TRUE(InShell(icon.IconData()));
    EXPECT_EQ(traytest::IconsInWinesTray(), 1);
    traytest::PumpFor(100);
    EXPECT_EQ(icon.addsAsked, 3) << "no tries once the icon is in";

    // A restarted shell that is not ready yet when it announces itself.
    NOTIFYICONDATAA forgotten = icon.IconData();
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &forgotten));
    icon.addsToRefuse = 1;
    SendMessageA(AppWindow(), TTrayIconHandler::TaskbarCreatedMessage(), 0, 0);
    EXPECT_FALSE(icon.IconVisible());
    ASSERT_TRUE(traytest::PumpUntil([&] { return icon.IconVisible(); }, 5000));
    EXPECT_EQ(traytest::IconsInWinesTray(), 1);

    // Hiding ends the wish and the tries with it.
    icon.addsToRefuse = 100;
    icon.HideIcon();
    SendMessageA(AppWindow(), TTrayIconHandler::TaskbarCreatedMessage(), 0, 0);
    const int asked = icon.addsAsked;
    traytest::PumpFor(100);
    EXPECT_FALSE(icon.IconWanted());
    EXPECT_EQ(icon.addsAsked, asked);
    EXPECT_EQ(traytest::IconsInWinesTray(), 0);
}
