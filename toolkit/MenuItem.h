#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace toolkit {

// One item of a menu: a caption ("-" makes a separator), whether it can be chosen, whether
// it is the menu's default (shown bold), its child items (a submenu) and what choosing it
// does. Items own their children; an item's address stays the same while it lives.
class MenuItem {
public:
    using ClickEvent = std::function<void(MenuItem& sender)>;

    MenuItem() = default;
    explicit MenuItem(std::string caption, ClickEvent onClick = {});
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    std::string Caption;
    bool Enabled = true;
    bool Default = false;
    ClickEvent OnClick;

    // Appends a child item and answers it, so a menu reads as a few lines:
    //   menu.Add("Open", [this](auto&) { Open(); });
    MenuItem& Add(std::string caption, ClickEvent onClick = {});
    MenuItem& AddSeparator();
    // Removes every child item.
    void Clear() noexcept { items_.clear(); }

    std::size_t Count() const noexcept { return items_.size(); }
    MenuItem& operator[](std::size_t index) const { return *items_.at(index); }
    // The first child, in menu order, whose Default flag is set, or null.
    MenuItem* DefaultItem() const noexcept;
    // Whether item is this item or one of its descendants.
    bool Contains(const MenuItem* item) const noexcept;

    bool IsSeparator() const noexcept { return Caption == "-"; }

    // Runs OnClick, when assigned and the item is enabled, exactly as choosing the item
    // from a menu does.
    void Click();

private:
    std::vector<std::unique_ptr<MenuItem>> items_;
};

} // namespace toolkit
