#pragma once
#include <windows.h>

#include "tray/SharedHandlerWindow.h"

#include <optional>

namespace tray {

class TTrayIcon;

// The one hidden window that receives the shell's callbacks for every tray icon of the
// process. It exists while at least one tray icon lives. Each icon gets an identifier
// unique among the live icons, which the shell hands back with each callback.
class TTrayIconHandler {
public:
    // The message the shell sends with an icon's notifications.
    static constexpr UINT CallbackMessage = 0x800;

    // The window of the live handler, or null when no tray icon exists.
    static HWND Window() noexcept;
    static std::size_t Count() noexcept;
    // The registered "TaskbarCreated" message, or 0 when the common controls are older
    // than 4.71 and the taskbar's re-creation is not followed.
    static UINT TaskbarCreatedMessage() noexcept;

private:
    friend class TTrayIcon;

    // Takes a reference for icon (creating the window for the first) and answers its
    // identifier.
    static UINT Acquire(TTrayIcon& icon);
    static void Release(UINT identifier) noexcept;
    static std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    static SharedHandlerWindow<TTrayIcon>& Shared() noexcept;
};

} // namespace tray
