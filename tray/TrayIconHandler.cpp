#include "tray/TrayIconHandler.h"

#include "toolkit/UtilityWindow.h"
#include "tray/TrayIcon.h"

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

std::unique_ptr<TTrayIconHandler> TTrayIconHandler::instance_;

TTrayIconHandler::TTrayIconHandler()
    : window_(std::make_unique<toolkit::UtilityWindow>(
          "VarnquillTrayIconHandler",
          [this](UINT message, WPARAM wParam, LPARAM lParam) { return HandleMessage(message, wParam, lParam); }))
{
}

HWND TTrayIconHandler::Window() noexcept
{
    return instance_ ? instance_->window_->Handle() : nullptr;
}

std::size_t TTrayIconHandler::Count() noexcept
{
    return instance_ ? instance_->icons_.size() : 0;
}

UINT TTrayIconHandler::TaskbarCreatedMessage() noexcept
{
    static const UINT message = CommonControlsAnnounceTaskbar() ? RegisterWindowMessageA("TaskbarCreated") : 0;
    return message;
}

UINT TTrayIconHandler::Acquire(TTrayIcon& icon)
{
    TaskbarCreatedMessage(); // registered before the first icon can need it
    if (!instance_)
        instance_.reset(new TTrayIconHandler);
    TTrayIconHandler& handler = *instance_;
    while (handler.nextIdentifier_ == 0 || handler.icons_.count(handler.nextIdentifier_) != 0)
        ++handler.nextIdentifier_;
    const UINT identifier = handler.nextIdentifier_++;
    handler.icons_.emplace(identifier, &icon);
    return identifier;
}

void TTrayIconHandler::Release(UINT identifier) noexcept
{
    if (!instance_)
        return;
    instance_->icons_.erase(identifier);
    if (instance_->icons_.empty())
        instance_.reset();
}

std::optional<LRESULT> TTrayIconHandler::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case CallbackMessage: {
        const auto found = icons_.find(static_cast<UINT>(wParam));
        // A notification may destroy the icon and with it this handler: nothing of the
        // handler is touched afterwards.
        if (found != icons_.end())
            found->second->HandleNotification(static_cast<UINT>(lParam));
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
