#pragma once
#include <windows.h>

#include "tray/SharedHandlerWindow.h"

#include <optional>

namespace tray {

// What the handler hands an icon's notifications to: the tray icon, which knows the handler
// and not the other way round.
class TrayNotificationTarget {
public:
    // A notification the shell sent for the icon (the callback message's lParam). It may
    // destroy the icon, and the handler window with the last one.
    virtual void HandleNotification(UINT notification) = 0;

protected:
    ~TrayNotificationTarget() = default;
};

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

    // Takes a reference for an icon (creating the window for the first) and answers its
    // identifier; each icon releases it when it goes.
    static UINT Acquire(TrayNotificationTarget& icon);
    static void Release(UINT identifier) noexcept;

private:
    static std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    static SharedHandlerWindow<TrayNotificationTarget>& Shared() noexcept;
};

} // namespace tray
