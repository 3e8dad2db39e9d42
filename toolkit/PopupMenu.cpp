#include "toolkit/PopupMenu.h"

#include "toolkit/Application.h"
#include "toolkit/Handles.h"
#include "base/SystemError.h"

#include <stdexcept>
#include <vector>

namespace toolkit {

namespace {

void Append(HMENU menu, UINT flags, UINT_PTR id, const MenuItem& item)
{
    if (!AppendMenuA(menu, flags, id, item.IsSeparator() ? nullptr : item.Caption.c_str()))
        throw std::runtime_error(base::SystemErrorText(GetLastError()));
}

// Builds the system menu for the children of parent; commands collects the items that can
// be chosen, command number n being commands[n - 1].
MenuHandle Build(const MenuItem& parent, std::vector<MenuItem*>& commands)
{
    MenuHandle menu(CreatePopupMenu());
    if (!menu)
        throw std::runtime_error(base::SystemErrorText(GetLastError()));
    bool defaultSet = false;
    for (std::size_t position = 0; position < parent.Count(); ++position) {
        MenuItem& item = parent[position];
        if (item.IsSeparator()) {
            Append(menu.Get(), MF_SEPARATOR, 0, item);
            continue;
        }
        const UINT state = item.Enabled ? MF_ENABLED : MF_GRAYED;
        if (item.Count() > 0) {
            MenuHandle submenu = Build(item, commands);
            Append(menu.Get(), MF_POPUP | MF_STRING | state, reinterpret_cast<UINT_PTR>(submenu.Get()), item);
            submenu.Release(); // the menu owns it now
        } else {
            commands.push_back(&item);
            Append(menu.Get(), MF_STRING | state, commands.size(), item);
        }
        if (item.Default && !defaultSet) {
            if (!SetMenuDefaultItem(menu.Get(), static_cast<UINT>(position), TRUE))
                throw std::runtime_error(base::SystemErrorText(GetLastError()));
            defaultSet = true;
        }
    }
    return menu;
}

} // namespace

PopupMenu::PopupMenu() : alive_(std::make_shared<const int>(0)) {}

void PopupMenu::Popup(int x, int y)
{
    const std::weak_ptr<const void> alive = alive_;
    if (OnPopup) {
        const NotifyEvent handler = OnPopup;
        handler(*this);
        if (alive.expired())
            return;
    }
    std::vector<MenuItem*> commands;
    const MenuHandle menu = Build(Items, commands);
    const HWND owner = Owner ? Owner : Application::Instance().Handle();
    // With TPM_RETURNCMD the choice comes back here instead of as WM_COMMAND; 0 means
    // dismissed, or a menu that could not be shown, and both mean nothing was chosen.
    const UINT chosen = static_cast<UINT>(TrackPopupMenuEx(
        menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, x, y, owner, nullptr));
    if (chosen == 0 || chosen > commands.size() || alive.expired())
        return;
    // Handlers run while the menu was open may have changed the items; Click itself
    // refuses an item disabled meanwhile.
    MenuItem* item = commands[chosen - 1];
    if (Items.Contains(item))
        item->Click();
}

} // namespace toolkit
