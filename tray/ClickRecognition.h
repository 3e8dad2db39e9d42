#pragma once
#include <windows.h>

#include <memory>

namespace tray {

class TTrayIcon;
class TSimpleTimer;

// Turns a tray icon's mouse notifications into its events: presses, releases and moves, a
// single click told from a double-click by the system's double-click time, the popup menu
// on the right press, and, while they are wanted, the cursor's arrival on the icon and its
// leaving, which the shell does not report and a poll finds.
class ClickRecognition {
public:
    // Both timers stopped.
    explicit ClickRecognition(TTrayIcon& icon);
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

    TTrayIcon& icon_;
    std::unique_ptr<TSimpleTimer> clickTimer_;
    std::unique_ptr<TSimpleTimer> exitPollTimer_;
    POINT lastCursor_{};
    bool cursorOutside_ = true;
    bool leftDown_ = false;
    bool clickPending_ = false;
    bool doubleClicked_ = false;
};

} // namespace tray
