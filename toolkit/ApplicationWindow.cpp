#include "toolkit/ApplicationWindow.h"

#include "toolkit/Application.h"

namespace toolkit {

ApplicationWindow::ApplicationWindow(Application& application, const char* title, const DensityIcons& classIcons)
    : application_(application), classIcons_(classIcons)
{
    WindowArgs args;
    args.className = ClassName;
    args.text = title;
    args.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    // Centred, so that minimising and restoring animate from the middle of the screen.
    args.x = GetSystemMetrics(SM_CXSCREEN) / 2;
    args.y = GetSystemMetrics(SM_CYSCREEN) / 2;
    args.width = 0;
    args.height = 0;
    args.icon = classIcons.big;
    args.smallIcon = classIcons.small;
    Create(args);
}

LRESULT ApplicationWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    application_.RunHooks(message, wParam, lParam);
    switch (message) {
    case WM_NCCREATE:
        // The taskbar button and Alt+Tab show these: drawn for the density, not stretched.
        // At the density the class's were drawn for they are shown as they are; at another
        // they are given before the window system has a window of its own for this one, so
        // are converted once, as it is made. The class's go where none can be loaded.
        if (!icons_.Apply(Handle(), Application::MainIconResource, WindowDpi(Handle()), classIcons_)) {
            SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(classIcons_.big));
            SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(classIcons_.small));
        }
        break;
    case WM_GETICON:
        if (const HICON shown = icons_.Shown(wParam))
            return reinterpret_cast<LRESULT>(shown);
        break;
    case WM_CLOSE:
        // Closing the taskbar button closes the main form, which decides what that means.
        if (const HWND form = application_.MainForm(); form && IsWindow(form))
            PostMessageA(form, WM_CLOSE, 0, 0); // fails only for a form already gone
        else
            application_.Terminate();
        return 0;
    case WM_DPICHANGED:
        // A zero-size window has no layout to follow; its icons do.
        icons_.Apply(Handle(), Application::MainIconResource, LOWORD(wParam), classIcons_);
        return 0;
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED)
            application_.HideFormWithApplication();
        break;
    case WM_WINDOWPOSCHANGED: {
        // Restoring a zero-size window need not report a new size: the position change
        // tells that it is back.
        const LRESULT result = DefaultHandling(message, wParam, lParam);
        if (!IsIconic(Handle()) && IsWindowVisible(Handle()))
            application_.ShowFormWithApplication();
        return result;
    }
    case WM_SETFOCUS:
        // The zero-size window cannot use the keyboard; the main form can.
        if (const HWND form = application_.MainForm(); form && IsWindowVisible(form) && IsWindowEnabled(form)) {
            SetFocus(form); // refused only when the form is going away
            return 0;
        }
        break;
    default:
        break;
    }
    return DefaultHandling(message, wParam, lParam);
}

} // namespace toolkit
