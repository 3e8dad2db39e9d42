#include "tray/TrayIconHandler.h"

#include <shlwapi.h>

namespace tray {

namespace {

// Whether the loaded common controls are at least 4.71, the version from which the shell
// announces a re-created taskbar.
bool CommonControlsAnnounceTaskbar() noexcept
{
    HMODULE library = GetModuleHandleA("comctl32.dll");
    if (!library)
        library = LoadLibraryA("comctl32.dll"); // stays loaded for the process, as the program links it
    if (!library)
        return false;
    const auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(
        reinterpret_cast<void*>(GetProcAddress(library, "DllGetVersion")));
    if (!getVersion)
        return false; // older than 4.71: DllGetVersion came with it
    DLLVERSIONINFO info{};
    info.cbSize = sizeof info;
    if (FAILED(getVersion(&info)))
        return false;
    return info.dwMajorVersion > 4 || (info.dwMajorVersion == 4 && info.dwMinorVersion >= 71);
}

} // namespace

SharedHandlerWindow<TrayNotificationTarget>& TTrayIconHandler::Shared() noexcept
{
    static SharedHandlerWindow<TrayNotificationTarget> shared("VarnquillTrayIconHandler", &TTrayIconHandler::HandleMessage);
    return shared;
}

HWND TTrayIconHandler::Window() noexcept
{
    return Shared().Window();
}

std::size_t TTrayIconHandler::Count() noexcept
{
    return Shared().Count();
}

UINT TTrayIconHandler::TaskbarCreatedMessage() noexcept
{
    static const UINT message = CommonControlsAnnounceTaskbar() ? RegisterWindowMessageA("TaskbarCreated") : 0;
    return message;
}

UINT TTrayIconHandler::Acquire(TrayNotificationTarget& icon)
{
    TaskbarCreatedMessage(); // registered before the first icon can need it
    SharedHandlerWindow<TrayNotificationTarget>& shared = Shared();
    // The shell hands the identifier back as a UINT, so identifiers stay within one.
    const UINT identifier = static_cast<UINT>(shared.NewKey());
    shared.Join(identifier, icon);
    return identifier;
}

void TTrayIconHandler::Release(UINT identifier) noexcept
{
    Shared().Leave(identifier);
}

std::optional<LRESULT> TTrayIconHandler::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case CallbackMessage: {
        // A notification may destroy the icon and with it the window: nothing of either is
        // touched afterwards.
        if (TrayNotificationTarget* icon = Shared().Find(static_cast<UINT>(wParam)))
            icon->HandleNotification(static_cast<UINT>(lParam));
        return 0;
    }
    case WM_DESTROY:
    case WM_CLOSE:
    case WM_QUERYENDSESSION:
    case WM_QUIT:
    case WM_ENDSESSION:
    case WM_NCDESTROY:
        // The window lives exactly as long as there are icons, whatever asks it to close.
        return 1;
    default:
        return std::nullopt;
    }
}

} // namespace tray
