#pragma once
#include "engine/ReportSink.h"

#include <windows.h>

#include <functional>
#include <string>

namespace tray {
class TTrayIcon;
}

// How every command's outcome reaches the user: errors as an error balloon on the tray icon
// when the error-balloon box is checked at that moment, else as the modal error dialog;
// notices as information balloons; questions as the modal Yes/No dialog.
class Reports : public ReportSink {
public:
    static constexpr BYTE BalloonSeconds = 15;

    // Both are asked at each report: the tray icon exists only from the main window's
    // start-up to its exit (null outside it: a balloon then goes nowhere), and the box can
    // change at any time.
    using TrayIconSource = std::function<tray::TTrayIcon*()>;
    using SwitchSource = std::function<bool()>;

    Reports(TrayIconSource trayIcon, SwitchSource errorBalloonsOn);

    void ReportError(const std::string& balloonTitle, const std::string& balloonText,
                     const std::string& dialogText) override;
    void Notice(const std::string& title, const std::string& text) override;
    bool Ask(const std::string& question) override;

    // For what happens while the user works in another program (the paste hot key): an
    // error balloon whatever the box says, since a dialog would take the keyboard from them.
    void ErrorBalloon(const std::string& title, const std::string& text);
    bool ErrorBalloonsOn() const { return errorBalloonsOn_(); }

private:
    void ShowBalloon(const std::string& title, const std::string& text, int iconKind);

    TrayIconSource trayIcon_;
    SwitchSource errorBalloonsOn_;
};
