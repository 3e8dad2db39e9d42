#pragma once
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include "toolkit/Handles.h"
#include "tray/ClickRecognition.h"
#include "tray/MinimizeToTrayHooks.h"
#include "tray/TrayIconHandler.h"
#include "tray/TrayMouse.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>

namespace toolkit {
class PopupMenu;
}

namespace tray {

class TSimpleTimer;

// The icon shown in a balloon hint.
enum TBalloonHintIcon { bitNone = 0, bitInfo = 1, bitWarning = 2, bitError = 3 };

// One icon in the notification area, the program's handle while its main window is hidden:
// tooltip, popup menu, click and double-click events, balloon hints, and minimising the
// application into the tray and back.
//
// Events receive the icon first and are raised only when assigned; a handler may destroy
// the icon.
//
// The icon keeps the shell's record itself (TrayIcon.cpp: add, modify, delete, retry,
// balloons, the image for the density) and raises its events (TrayIconEvents.cpp);
// ClickRecognition turns the mouse notifications into those events, and
// MinimizeToTrayHooks carries minimising into the tray and back. Each of the three parts
// below it knows the icon only by the small interface it declares itself.
class TTrayIcon : private TrayNotificationTarget, private ClickTarget, private MinimizeTarget {
public:
    using NotifyEvent = std::function<void(TTrayIcon& sender)>;
    using MouseEvent = std::function<void(TTrayIcon& sender, TMouseButton button, TShiftState shift, int x, int y)>;
    using MouseMoveEvent = std::function<void(TTrayIcon& sender, TShiftState shift, int x, int y)>;
    using CycleEvent = std::function<void(TTrayIcon& sender, int nextIndex)>;
    using StartupEvent = std::function<void(TTrayIcon& sender, bool& showMainForm)>;

    // The icon for the owner window (the main form; may be null), out of the tray. Hooks
    // the application window and, when there is one, the owner window.
    explicit TTrayIcon(HWND owner);
    TTrayIcon(const TTrayIcon&) = delete;
    TTrayIcon& operator=(const TTrayIcon&) = delete;
    // Removes the icon from the tray and undoes both hooks.
    virtual ~TTrayIcon();

    // Properties. Plain data members have no effect of their own when assigned.
    HIMAGELIST IconList() const noexcept { return iconList_; }
    // The list is not owned; set it back to null before destroying it.
    void SetIconList(HIMAGELIST list);
    bool CycleIcons() const noexcept { return cycleIcons_; }
    void SetCycleIcons(bool cycle);
    UINT CycleInterval() const noexcept { return cycleInterval_; }
    void SetCycleInterval(UINT milliseconds);
    // When false, mouse notifications are ignored; balloon notifications still arrive.
    bool Enabled = true;
    const std::string& Hint() const noexcept { return hint_; }
    void SetHint(const std::string& hint);
    bool ShowHint() const noexcept { return showHint_; }
    void SetShowHint(bool show);
    // The image shown in the tray. Until the program sets one (SetIcon, SetIconIndex with a
    // list), it is the application's main icon at the shell's small-icon size for the owner
    // window's density, loaded again when the owner moves to another density and when a new
    // taskbar asks for the icon.
    HICON Icon() const noexcept { return icon_.Get(); }
    // Copies the image (null for none), then updates the shell.
    void SetIcon(HICON icon);
    // True only while the shell holds the icon: its last add was accepted and it was not
    // removed since.
    bool IconVisible() const noexcept { return iconShown_; }
    // True when the program wants the icon in the tray, whether or not the shell has taken
    // it yet: a refused add (the shell not ready at log-on) is tried again every
    // RetryInterval ms until the shell accepts it.
    bool IconWanted() const noexcept { return iconWanted_; }
    // True adds the icon, false removes it, even when the value does not change.
    void SetIconVisible(bool visible);
    // The period between tries of an add the shell refused.
    UINT RetryInterval() const noexcept;
    void SetRetryInterval(UINT milliseconds);
    int IconIndex() const noexcept { return iconIndex_; }
    void SetIconIndex(int index);
    // The menu opened by the right button; cleared when the menu is destroyed.
    toolkit::PopupMenu* PopupMenu() const noexcept override;
    void SetPopupMenu(toolkit::PopupMenu* menu) noexcept;
    // The left button opens the menu too; a double-click then no longer clicks its default
    // item.
    bool LeftPopup = false;
    bool WantEnterExitEvents() const noexcept override { return wantEnterExitEvents_; }
    void SetWantEnterExitEvents(bool want);
    bool MinimizeToTray = false;
    bool ShowformOnTrayIconClick = false;
    bool PersistenttrayIcon() const noexcept override { return persistentTrayIcon_; }
    // Also adds (true) or removes (false) the icon at once.
    void SetPersistenttrayIcon(bool persistent);

    // Events.
    NotifyEvent OnClick;
    NotifyEvent OnDblClick;
    MouseEvent OnMouseDown;
    MouseEvent OnMouseUp;
    MouseMoveEvent OnMouseMove;
    NotifyEvent OnMouseEnter;
    NotifyEvent OnMouseExit;
    CycleEvent OnCycle;
    NotifyEvent OnBalloonHintShow;
    NotifyEvent OnBalloonHintHide;
    NotifyEvent OnBalloonHintTimeout;
    NotifyEvent OnBalloonHintClick;
    NotifyEvent OnMinimizeToTray;
    StartupEvent OnStartup;

    // Shell calls; each answers whether the shell accepted it.
    bool ShowIcon() override;
    bool HideIcon() override;
    virtual bool ModifyIcon();
    // Shows a balloon (title cut to 63 characters, text to 255) for timeoutSeconds; false
    // when the shell refused it, as it does while the icon is out of the tray.
    bool ShowBalloonHint(const std::string& title, const std::string& text, TBalloonHintIcon icon,
                         BYTE timeoutSeconds);
    // Removes a balloon that is showing.
    bool HideBalloonHint();

    // Restores the application and shows the main form in front.
    void ShowMainForm();
    // Hides the main form and the application's taskbar button.
    void HideMainForm();
    // Hides the application window, and with it the taskbar button.
    void HideTaskbarIcon();

    // The end of loading for an icon described in a form rather than built in code: asks
    // OnStartup whether to show the main form, then applies the properties to the shell.
    void Loaded();

    HWND Owner() const noexcept override { return owner_; }
    // The identifier the shell knows this icon by (with TTrayIconHandler::Window()).
    UINT Identifier() const noexcept { return identifier_; }
    // The record handed to the shell at the last call.
    const NOTIFYICONDATAA& IconData() const noexcept { return data_; }

protected:
    void Click() override;
    void DblClick() override;
    virtual void CycleIcon();
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseEnter() override;
    void MouseExit() override;
    virtual void DoMinimizeToTray();
    // The one place the shell is called: tests stand in for a shell that refuses.
    virtual bool CallShell(DWORD action, NOTIFYICONDATAA& data);

private:
    // Releases the handler window reference when the icon goes, however construction or
    // destruction ended.
    struct HandlerReference {
        UINT identifier;
        explicit HandlerReference(TTrayIcon& icon);
        ~HandlerReference();
    };

    // Raises an event through a copy of its handler, since the handler may destroy the
    // icon that holds it.
    template <typename Event, typename... Args>
    static void Raise(const Event& event, Args&&... args)
    {
        if (!event)
            return;
        const Event handler = event;
        handler(std::forward<Args>(args)...);
    }

    // A shell notification for this icon: balloons here, the mouse to the click recognition.
    void HandleNotification(UINT notification) override;
    // What the click recognition asks.
    bool WaitsForDoubleClicks() const override { return static_cast<bool>(OnDblClick); }
    bool LeftOpensMenu() const override { return LeftPopup; }
    void* MenuComponent() override { return this; }
    // What the hooks report.
    void ApplicationMinimized() override;
    bool OwnerMinimizing() override;
    void FirstActivation() override;
    void RetryAdd();
    void PrepareIconData();
    // Loads the application's icon at the small-icon size for dpi, unless the program has
    // set an image of its own; the shell is told at the next call.
    void LoadIconForDpi(UINT dpi);
    void OwnerDpiChanged(UINT dpi) override;
    void TaskbarCreated() override;
    bool Notify(DWORD action);

    // Expires when the icon is destroyed, so code that ran a handler can tell.
    std::shared_ptr<const int> alive_;
    HWND owner_;
    HandlerReference handler_;
    UINT identifier_;
    toolkit::IconHandle icon_;
    bool iconFollowsDpi_ = true;
    NOTIFYICONDATAA data_{};
    std::unique_ptr<TSimpleTimer> cycleTimer_;
    std::unique_ptr<ClickRecognition> clicks_;
    std::unique_ptr<TSimpleTimer> retryTimer_;
    std::unique_ptr<MinimizeToTrayHooks> minimizing_;

    HIMAGELIST iconList_ = nullptr;
    bool cycleIcons_ = false;
    UINT cycleInterval_ = 0;
    std::string hint_;
    bool showHint_ = true;
    bool iconWanted_ = false;
    bool iconShown_ = false;
    int iconIndex_ = 0;
    toolkit::PopupMenu* popupMenu_ = nullptr;
    std::weak_ptr<const void> popupMenuAlive_;
    bool wantEnterExitEvents_ = false;
    bool persistentTrayIcon_ = true;
};

} // namespace tray
