#pragma once
#include <windows.h>

#include "tray/TrayMouse.h"

#include <memory>

namespace toolkit {
class PopupMenu;
}

namespace tray {

class TSimpleTimer;

// What the recognition tells the icon it serves, and the little it asks of it. Any of the
// events may destroy the icon, and the recognition with it.
class ClickTarget {
public:
    virtual void Click() = 0;
    virtual void DblClick() = 0;
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y) = 0;
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y) = 0;
    virtual void MouseMove(TShiftState shift, int x, int y) = 0;
    virtual void MouseEnter() = 0;
    virtual void MouseExit() = 0;

    // A double-click means something: a press then waits the double-click time before it
    // counts as a click.
    virtual bool WaitsForDoubleClicks() const = 0;
    virtual bool WantEnterExitEvents() const = 0;
    // The left button opens the menu too (and a double-click clicks no default item).
    virtual bool LeftOpensMenu() const = 0;
    virtual toolkit::PopupMenu* PopupMenu() const = 0;
    // What the menu names as the component it opened for.
    virtual void* MenuComponent() = 0;
    // The window the menu's loop is released through afterwards; may be null.
    virtual HWND Owner() const = 0;

protected:
    ~ClickTarget() = default;
};

// Turns a tray icon's mouse notifications into its events: presses, releases and moves, a
// single click told from a double-click by the system's double-click time, the popup menu
// on the right press, and, while they are wanted, the cursor's arrival on the icon and its
// leaving, which the shell does not report and a poll finds.
class ClickRecognition {
public:
    // Both timers stopped.
    explicit ClickRecognition(ClickTarget& icon);
    ClickRecognition(const ClickRecognition&) = delete;
    ClickRecognition& operator=(const ClickRecognition&) = delete;
    ~ClickRecognition();

    // A mouse notification of an enabled icon; it may destroy the icon, and with it this
    // object.
    void Handle(UINT notification);
    // Starts or stops polling for the cursor's leaving.
    void WatchExit(bool watch);

private:
    // Opens the icon's popup menu at the cursor, when it has one that opens by itself.
    void PopupAtCursor();
    void ClickTimerFired();
    void ExitPoll();
    void ClickDefaultItem();

    ClickTarget& icon_;
    // Expires with this object, which goes with its icon: a handler that destroyed the icon
    // leaves nothing of either to touch.
    std::shared_ptr<const int> alive_ = std::make_shared<const int>(0);
    std::unique_ptr<TSimpleTimer> clickTimer_;
    std::unique_ptr<TSimpleTimer> exitPollTimer_;
    POINT lastCursor_{};
    bool cursorOutside_ = true;
    bool leftDown_ = false;
    bool clickPending_ = false;
    bool doubleClicked_ = false;
};

} // namespace tray
