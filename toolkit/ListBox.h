#pragma once
#include "toolkit/Control.h"

#include <functional>
#include <string>
#include <vector>

namespace toolkit {

// Raised for a context-menu request on a control, with the point in screen coordinates
// where the menu belongs.
using ContextMenuEvent = std::function<void(Control& sender, int x, int y)>;

// A list of text rows in insertion order (never sorted), at most one row selected.
// OnContextMenu is raised by a right click or the keyboard's menu key; the selection does
// not move with the right click.
class ListBox : public Control {
public:
    explicit ListBox(const ControlArgs& args);

    int Count() const;
    std::string Item(int index) const;
    std::vector<std::string> Items() const;
    // Appends a row and answers its index.
    int Add(const std::string& item);
    void Delete(int index);
    void Clear();

    // The selected row, or -1 when none is selected; -1 clears the selection.
    int ItemIndex() const;
    void SetItemIndex(int index);

    ContextMenuEvent OnContextMenu;

protected:
    bool HandleContextMenu(HWND source, int x, int y) override;

private:
    void CheckIndex(int index) const;
};

} // namespace toolkit
