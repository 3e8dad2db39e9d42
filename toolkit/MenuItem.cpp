#include "toolkit/MenuItem.h"

#include <utility>

namespace toolkit {

MenuItem::MenuItem(std::string caption, ClickEvent onClick)
    : Caption(std::move(caption)), OnClick(std::move(onClick))
{
}

MenuItem& MenuItem::Add(std::string caption, ClickEvent onClick)
{
    items_.push_back(std::make_unique<MenuItem>(std::move(caption), std::move(onClick)));
    return *items_.back();
}

MenuItem& MenuItem::AddSeparator()
{
    return Add("-");
}

MenuItem* MenuItem::DefaultItem() const noexcept
{
    for (const auto& item : items_) {
        if (item->Default)
            return item.get();
    }
    return nullptr;
}

bool MenuItem::Contains(const MenuItem* item) const noexcept
{
    if (item == this)
        return true;
    for (const auto& child : items_) {
        if (child->Contains(item))
            return true;
    }
    return false;
}

void MenuItem::Click()
{
    // A disabled item cannot be chosen, from the menu or from code.
    if (!Enabled || !OnClick)
        return;
    // The handler may clear or destroy this item's menu: run a copy of it.
    const ClickEvent handler = OnClick;
    handler(*this);
}

} // namespace toolkit
