#include "ui/Reports.h"

#include "toolkit/Application.h"
#include "toolkit/MessageDialogs.h"
#include "tray/TrayIcon.h"

#include <utility>

namespace {

// Dialogs are modal over the main window while it is shown, and stand on their own while it
// is hidden in the tray (the dialogs' own rule).
HWND DialogOwner() noexcept
{
    return toolkit::Application::Instance().MainForm();
}

} // namespace

Reports::Reports(TrayIconSource trayIcon, SwitchSource errorBalloonsOn)
    : trayIcon_(std::move(trayIcon)), errorBalloonsOn_(std::move(errorBalloonsOn))
{
}

void Reports::ReportError(const std::string& balloonTitle, const std::string& balloonText,
                          const std::string& dialogText)
{
    if (errorBalloonsOn_())
        ShowBalloon(balloonTitle, balloonText, tray::bitError);
    else
        toolkit::ShowErrorDialog(DialogOwner(), dialogText);
}

void Reports::Notice(const std::string& title, const std::string& text)
{
    ShowBalloon(title, text, tray::bitInfo);
}

bool Reports::Ask(const std::string& question)
{
    return toolkit::AskQuestion(DialogOwner(), question);
}

void Reports::ErrorBalloon(const std::string& title, const std::string& text)
{
    ShowBalloon(title, text, tray::bitError);
}

void Reports::ShowBalloon(const std::string& title, const std::string& text, int iconKind)
{
    tray::TTrayIcon* icon = trayIcon_();
    if (!icon)
        return;
    // The shell's answer is not looked at: a balloon it refuses is simply not seen.
    icon->ShowBalloonHint(title, text, static_cast<tray::TBalloonHintIcon>(iconKind), BalloonSeconds);
}
