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
// not move with the right click. OnSelect is raised when the user selects another row (by
// mouse or keyboard, not by SetItemIndex); OnDoubleClick by a double click on a row, which the
// click before it has selected. The rows' texts are kept beside the control, in step with
// every message that changes them, whoever sends it: reading them from the control takes
// two messages a row, and the signature writer asks for them on every change.
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
    NotifyEvent OnSelect;
    NotifyEvent OnDoubleClick;

protected:
    bool HandleContextMenu(HWND source, int x, int y) override;
    LRESULT Filter(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    bool HandleCommand(WORD code) override;

private:
    void CheckIndex(int index) const;
    // The row's text as the control holds it.
    std::string ReadItem(int index) const;

    std::vector<std::string> items_;
};

} // namespace toolkit
