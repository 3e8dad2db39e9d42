#pragma once
#include "toolkit/MenuItem.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

namespace toolkit {

// A context menu built from MenuItems, shown at a screen point and tracked modally until
// the user chooses an item or dismisses it. Choosing an item runs its OnClick once, after
// the menu has closed.
//
//   PopupMenu menu;
//   MenuItem& winamp = menu.Add("Winamp");
//   winamp.Add("Set song as signature", [this](auto&) { SetSong(); });
//   menu.Add("Restore", [this](auto&) { Restore(); }).Default = true;
//   menu.Popup(x, y);
class PopupMenu {
public:
    using NotifyEvent = std::function<void(PopupMenu& sender)>;

    PopupMenu();
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;

    // The top-level items (the root item's caption is unused).
    MenuItem Items;
    MenuItem& Add(std::string caption, MenuItem::ClickEvent onClick = {})
    {
        return Items.Add(std::move(caption), std::move(onClick));
    }
    MenuItem& AddSeparator() { return Items.AddSeparator(); }
    // The first top-level item whose Default flag is set, or null.
    MenuItem* DefaultItem() const noexcept { return Items.DefaultItem(); }

    // Whether the component that owns the menu should open it on its own (a tray icon's
    // right button, a list box's context click).
    bool AutoPopup = true;
    // Raised before the menu is shown, so its items can be brought up to date.
    NotifyEvent OnPopup;
    // The component that opened the menu last (set by that component before Popup).
    void* PopupComponent = nullptr;
    // The window that owns the menu while it is tracked; null means the application window.
    HWND Owner = nullptr;

    // Raises OnPopup, shows the menu with its top left corner at the screen point (x, y)
    // and tracks it until it closes; then runs the chosen item's OnClick. A handler may
    // destroy this menu.
    void Popup(int x, int y);

    // Expires when the menu is destroyed: lets a caller see that a handler destroyed it.
    std::weak_ptr<const void> Lifetime() const noexcept { return alive_; }

private:
    std::shared_ptr<const int> alive_;
};

} // namespace toolkit
