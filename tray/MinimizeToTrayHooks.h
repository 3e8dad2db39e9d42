#pragma once
#include <windows.h>

#include "toolkit/Application.h"
#include "tray/OwnerHook.h"

#include <memory>
#include <optional>

namespace tray {

// What the hooks tell the icon they serve and ask of it; each call may destroy the icon,
// and the hooks with it.
class MinimizeTarget {
public:
    // The window hooked besides the application's; may be null.
    virtual HWND Owner() const = 0;
    // The icon stays in the tray while the form is shown.
    virtual bool PersistenttrayIcon() const = 0;
    virtual bool ShowIcon() = 0;
    virtual bool HideIcon() = 0;
    // The application was minimised: the form goes into the tray when the icon takes it there.
    virtual void ApplicationMinimized() = 0;
    // The owner is about to be minimised (its box, or its parent closing): true when the icon
    // took it into the tray instead, and the system must do nothing more.
    virtual bool OwnerMinimizing() = 0;
    // A parent form's first activation, where the icon asks whether the form is to show.
    virtual void FirstActivation() = 0;
    // A new taskbar, which holds none of the old icons.
    virtual void TaskbarCreated() = 0;
    // The owner moved to another density, the one the message tells.
    virtual void OwnerDpiChanged(UINT dpi) = 0;

protected:
    ~MinimizeTarget() = default;
};

// Minimising into the tray and back, carried by two hooks for as long as this object
// lives: the application window's (minimise, restore, the first activation, a new taskbar)
// and the owner window's (shown, minimised by its own box, a new density). What they see of
// the icon's own record (a new taskbar, a new density) goes to the icon.
class MinimizeToTrayHooks {
public:
    // Hooks the application window and, when the icon has one, its owner window. Throws
    // std::runtime_error when the owner's procedure cannot be replaced.
    explicit MinimizeToTrayHooks(MinimizeTarget& icon);
    MinimizeToTrayHooks(const MinimizeToTrayHooks&) = delete;
    MinimizeToTrayHooks& operator=(const MinimizeToTrayHooks&) = delete;

private:
    void ApplicationMessage(UINT message, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> OwnerMessage(UINT message, WPARAM wParam, LPARAM lParam);

    MinimizeTarget& icon_;
    // Expires with this object, which goes with its icon.
    std::shared_ptr<const int> alive_ = std::make_shared<const int>(0);
    bool firstActivation_ = true;
    toolkit::ScopedMessageHook applicationHook_;
    std::unique_ptr<OwnerHook> ownerHook_;
};

} // namespace tray
