#include "tray/MinimizeToTrayHooks.h"

#include "tray/TrayIconHandler.h"

namespace tray {

MinimizeToTrayHooks::MinimizeToTrayHooks(MinimizeTarget& icon)
    : icon_(icon),
      applicationHook_([this](UINT message, WPARAM wParam, LPARAM lParam) { ApplicationMessage(message, wParam, lParam); })
{
    if (const HWND owner = icon_.Owner()) {
        ownerHook_ = std::make_unique<OwnerHook>(
            owner, [this](UINT message, WPARAM wParam, LPARAM lParam) { return OwnerMessage(message, wParam, lParam); });
    }
}

void MinimizeToTrayHooks::ApplicationMessage(UINT message, WPARAM wParam, LPARAM)
{
    toolkit::Application& application = toolkit::Application::Instance();
    const UINT taskbarCreated = TTrayIconHandler::TaskbarCreatedMessage();
    if (message == WM_SIZE) {
        if (wParam == SIZE_MINIMIZED)
            icon_.ApplicationMinimized();
    } else if (message == WM_WINDOWPOSCHANGED) {
        // The start-up question the component asks of an MDI parent form; this program's
        // form is none, but the component serves any owner.
        const HWND form = application.MainForm();
        if (firstActivation_ && form) {
            if (FindWindowExA(form, nullptr, "MDICLIENT", nullptr)) {
                const std::weak_ptr<const int> alive = alive_;
                icon_.FirstActivation();
                if (alive.expired())
                    return;
            }
            firstActivation_ = false;
        }
    } else if (message == WM_SYSCOMMAND) {
        if ((wParam & 0xFFF0) == SC_RESTORE) {
            if (const HWND form = application.MainForm())
                ShowWindow(form, SW_SHOW); // answers the previous visibility
        }
        if (!icon_.PersistenttrayIcon())
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
        SetForegroundWindow(icon_.Owner());
        if (icon_.PersistenttrayIcon())
            icon_.ShowIcon();
        else
            icon_.HideIcon();
        return std::nullopt;
    }
    const bool parentMinimising = message == WM_SHOWWINDOW && wParam == 0 && lParam == SW_PARENTCLOSING &&
                                  !toolkit::Application::Instance().Terminated();
    const bool minimising = message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_MINIMIZE;
    if ((parentMinimising || minimising) && icon_.OwnerMinimizing())
        return 1;
    return std::nullopt;
}

} // namespace tray
