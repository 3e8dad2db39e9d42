#include "tray/MinimizeToTrayHooks.h"

#include "tray/TrayIcon.h"
#include "tray/TrayIconHandler.h"

namespace tray {

MinimizeToTrayHooks::MinimizeToTrayHooks(TTrayIcon& icon)
    : icon_(icon),
      applicationHook_([this](UINT message, WPARAM wParam, LPARAM lParam) { ApplicationMessage(message, wParam, lParam); })
{
    if (icon_.owner_) {
        ownerHook_ = std::make_unique<OwnerHook>(
            icon_.owner_, [this](UINT message, WPARAM wParam, LPARAM lParam) { return OwnerMessage(message, wParam, lParam); });
    }
}

void MinimizeToTrayHooks::ApplicationMessage(UINT message, WPARAM wParam, LPARAM)
{
    toolkit::Application& application = toolkit::Application::Instance();
    const UINT taskbarCreated = TTrayIconHandler::TaskbarCreatedMessage();
    if (message == WM_SIZE) {
        if (wParam == SIZE_MINIMIZED && icon_.MinimizeToTray)
            icon_.DoMinimizeToTray();
    } else if (message == WM_WINDOWPOSCHANGED) {
        // The start-up question the component asks of an MDI parent form; this program's
        // form is none, but the component serves any owner.
        const HWND form = application.MainForm();
        if (firstActivation_ && form) {
            const std::weak_ptr<const void> alive = icon_.alive_;
            if (FindWindowExA(form, nullptr, "MDICLIENT", nullptr)) {
                bool show = true;
                TTrayIcon::Raise(icon_.OnStartup, icon_, show);
                if (alive.expired())
                    return;
                if (!show)
                    icon_.HideTaskbarIcon();
            }
            firstActivation_ = false;
        }
    } else if (message == WM_SYSCOMMAND) {
        if ((wParam & 0xFFF0) == SC_RESTORE) {
            if (const HWND form = application.MainForm())
                ShowWindow(form, SW_SHOW); // answers the previous visibility
        }
        if (!icon_.persistentTrayIcon_)
            icon_.HideIcon();
    } else if (taskbarCreated != 0 && message == taskbarCreated) {
        icon_.TaskbarCreated();
    }
}

std::optional<LRESULT> MinimizeToTrayHooks::OwnerMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DPICHANGED) {
        // The new density comes with the message: the system may not report it yet.
        icon_.OwnerDpiChanged(LOWORD(wParam));
        return std::nullopt;
    }
    if (message == WM_SHOWWINDOW && wParam != 0 && lParam == 0) {
        // Refused only while another program holds the foreground lock.
        SetForegroundWindow(toolkit::Application::Instance().Handle());
        SetForegroundWindow(icon_.owner_);
        if (icon_.persistentTrayIcon_)
            icon_.ShowIcon();
        else
            icon_.HideIcon();
        return std::nullopt;
    }
    const bool parentMinimising = message == WM_SHOWWINDOW && wParam == 0 && lParam == SW_PARENTCLOSING &&
                                  !toolkit::Application::Instance().Terminated();
    const bool minimising = message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_MINIMIZE;
    if ((parentMinimising || minimising) && icon_.MinimizeToTray && icon_.OnMinimizeToTray) {
        const std::weak_ptr<const void> alive = icon_.alive_;
        TTrayIcon::Raise(icon_.OnMinimizeToTray, icon_);
        if (!alive.expired())
            icon_.DoMinimizeToTray();
        return 1;
    }
    return std::nullopt;
}

// ---- the icon's operations for its main form ----

void TTrayIcon::DoMinimizeToTray()
{
    HideMainForm();
    SetIconVisible(true);
}

void TTrayIcon::HideMainForm()
{
    const HWND form = toolkit::Application::Instance().MainForm();
    if (!owner_ || !form)
        return;
    ShowWindow(form, SW_HIDE); // answers the previous visibility
    HideTaskbarIcon();
}

void TTrayIcon::HideTaskbarIcon()
{
    const HWND window = toolkit::Application::Instance().Handle();
    if (IsWindowVisible(window))
        ShowWindow(window, SW_HIDE); // answers the previous visibility
}

void TTrayIcon::ShowMainForm()
{
    toolkit::Application& application = toolkit::Application::Instance();
    const HWND form = application.MainForm();
    if (!owner_ || !form)
        return;
    const std::weak_ptr<const void> alive = alive_;
    application.Restore();
    if (IsIconic(form))
        ShowWindow(form, SW_RESTORE);
    ShowWindow(form, SW_SHOW); // answers the previous visibility
    if (alive.expired())
        return; // a hooked message destroyed the icon on the way
    // Refused only while another program holds the foreground lock.
    SetForegroundWindow(application.Handle());
    if (persistentTrayIcon_)
        ShowIcon();
    else
        HideIcon();
}

} // namespace tray
