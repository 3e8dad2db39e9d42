#include "tray/TrayIcon.h"

#include "toolkit/Application.h"

namespace tray {

// ---- the events the click recognition raises ----

void TTrayIcon::Click()
{
    const std::weak_ptr<const void> alive = alive_;
    if (ShowformOnTrayIconClick) {
        ShowMainForm();
        if (alive.expired())
            return;
    }
    Raise(OnClick, *this);
}

void TTrayIcon::DblClick()
{
    Raise(OnDblClick, *this);
}

void TTrayIcon::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    Raise(OnMouseDown, *this, button, shift, x, y);
}

void TTrayIcon::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    Raise(OnMouseUp, *this, button, shift, x, y);
}

void TTrayIcon::MouseMove(TShiftState shift, int x, int y)
{
    Raise(OnMouseMove, *this, shift, x, y);
}

void TTrayIcon::MouseEnter()
{
    Raise(OnMouseEnter, *this);
}

void TTrayIcon::MouseExit()
{
    Raise(OnMouseExit, *this);
}

// ---- minimising into the tray and back, as the hooks report it ----

void TTrayIcon::ApplicationMinimized()
{
    if (MinimizeToTray)
        DoMinimizeToTray();
}

bool TTrayIcon::OwnerMinimizing()
{
    if (!MinimizeToTray || !OnMinimizeToTray)
        return false;
    const std::weak_ptr<const void> alive = alive_;
    Raise(OnMinimizeToTray, *this);
    if (!alive.expired())
        DoMinimizeToTray();
    return true;
}

void TTrayIcon::FirstActivation()
{
    const std::weak_ptr<const void> alive = alive_;
    bool show = true;
    Raise(OnStartup, *this, show);
    if (!alive.expired() && !show)
        HideTaskbarIcon();
}

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
