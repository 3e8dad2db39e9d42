#include "ui/Reports.h"

#include "toolkit/Application.h"
#include "toolkit/MessageDialogs.h"
#include "tray/TrayIcon.h"

#include <utility>

namespace {

// Dialogs are modal over the main window while it is shown. Owned by the window hidden in
// the tray, a dialog would have no taskbar button and could stay behind other programs'
// windows unseen; without an owner it stands on its own, with a button, and asks for the
// foreground.
HWND DialogOwner() noexcept
{
    const HWND form = toolkit::Application::Instance().MainForm();
    return form && IsWindowVisible(form) ? form : nullptr;
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

void Reports::ShowBalloon(const std::string& title, const std::string& text, int iconKind)
{
    tray::TTrayIcon* icon = trayIcon_();
    if (!icon)
        return;
    // The shell's answer is not looked at: a balloon it refuses is simply not seen.
    icon->ShowBalloonHint(title, text, static_cast<tray::TBalloonHintIcon>(iconKind), BalloonSeconds);
}
