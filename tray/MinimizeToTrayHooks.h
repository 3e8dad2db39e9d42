#pragma once
#include <windows.h>

#include "toolkit/Application.h"
#include "tray/OwnerHook.h"

#include <memory>
#include <optional>

namespace tray {

class TTrayIcon;

// Minimising into the tray and back, carried by two hooks for as long as this object
// lives: the application window's (minimise, restore, the first activation, a new taskbar)
// and the owner window's (shown, minimised by its own box, a new density). What they see of
// the icon's own record (a new taskbar, a new density) goes to the icon.
class MinimizeToTrayHooks {
public:
    // Hooks the application window and, when the icon has one, its owner window. Throws
    // std::runtime_error when the owner's procedure cannot be replaced.
    explicit MinimizeToTrayHooks(TTrayIcon& icon);
    MinimizeToTrayHooks(const MinimizeToTrayHooks&) = delete;
    MinimizeToTrayHooks& operator=(const MinimizeToTrayHooks&) = delete;

private:
    void ApplicationMessage(UINT message, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> OwnerMessage(UINT message, WPARAM wParam, LPARAM lParam);

    TTrayIcon& icon_;
    bool firstActivation_ = true;
    toolkit::ScopedMessageHook applicationHook_;
    std::unique_ptr<OwnerHook> ownerHook_;
};

} // namespace tray
