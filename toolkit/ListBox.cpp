#include "toolkit/ListBox.h"

#include <stdexcept>

namespace toolkit {

namespace {

[[noreturn]] void ThrowOutOfRange(int index)
{
    throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
}

} // namespace

ListBox::ListBox(const ControlArgs& args)
    : Control("LISTBOX", args, LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL, WS_EX_CLIENTEDGE)
{
    Subclass(Handle());
}

int ListBox::Count() const
{
    return static_cast<int>(items_.size());
}

void ListBox::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        ThrowOutOfRange(index);
}

std::string ListBox::Item(int index) const
{
    CheckIndex(index);
    return items_[static_cast<std::size_t>(index)];
}

std::vector<std::string> ListBox::Items() const
{
    return items_;
}

std::string ListBox::ReadItem(int index) const
{
    const auto length = SendMessageA(Handle(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR)
        return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const auto copied = SendMessageA(Handle(), LB_GETTEXT, static_cast<WPARAM>(index),
                                     reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == LB_ERR ? 0 : static_cast<size_t>(copied));
    return text;
}

LRESULT ListBox::Filter(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = PassOn(hwnd, message, wParam, lParam);
    // The row is read back from the control rather than from lParam, which may be in
    // either character set by the time it gets here.
    switch (message) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
        if (result >= 0 && static_cast<std::size_t>(result) <= items_.size())
            items_.insert(items_.begin() + result, ReadItem(static_cast<int>(result)));
        break;
    case LB_DELETESTRING:
        if (result != LB_ERR && wParam < items_.size())
            items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(wParam));
        break;
    case LB_RESETCONTENT:
        items_.clear();
        break;
    case LB_DIR:
    case LB_ADDFILE: {
        // Rows of the file system's choosing, never added by this program: all read again.
        const auto count = SendMessageA(hwnd, LB_GETCOUNT, 0, 0);
        items_.clear();
        for (int i = 0; i < count; ++i)
            items_.push_back(ReadItem(i));
        break;
    }
    default:
        break;
    }
    return result;
}

int ListBox::Add(const std::string& item)
{
    const auto index = SendMessageA(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    if (index == LB_ERR || index == LB_ERRSPACE)
        throw std::runtime_error("Not enough memory to add a row to the list.");
    return static_cast<int>(index);
}

void ListBox::Delete(int index)
{
    CheckIndex(index);
    SendMessageA(Handle(), LB_DELETESTRING, static_cast<WPARAM>(index), 0); // index checked above
}

void ListBox::Clear()
{
    SendMessageA(Handle(), LB_RESETCONTENT, 0, 0);
}

int ListBox::ItemIndex() const
{
    const auto index = SendMessageA(Handle(), LB_GETCURSEL, 0, 0);
    return index == LB_ERR ? -1 : static_cast<int>(index);
}

void ListBox::SetItemIndex(int index)
{
    if (index != -1)
        CheckIndex(index);
    // For -1 the list answers LB_ERR although the selection is cleared as asked.
    SendMessageA(Handle(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

bool ListBox::HandleCommand(WORD code)
{
    if (code == LBN_SELCHANGE)
        Raise(OnSelect, *this);
    else if (code == LBN_DBLCLK)
        Raise(OnDoubleClick, *this);
    else
        return false;
    return true;
}

bool ListBox::HandleContextMenu(HWND, int x, int y)
{
    if (!OnContextMenu)
        return false;
    if (x == -1 && y == -1) {
        // From the keyboard: place the menu at the selected row, or at the list's corner.
        RECT row{};
        const int selected = ItemIndex();
        if (selected < 0 ||
            SendMessageA(Handle(), LB_GETITEMRECT, static_cast<WPARAM>(selected),
                         reinterpret_cast<LPARAM>(&row)) == LB_ERR)
            row = RECT{0, 0, 0, 0};
        POINT point{row.left, row.bottom};
        ClientToScreen(Handle(), &point); // a child's client area always maps
        x = point.x;
        y = point.y;
    }
    Raise(OnContextMenu, *this, x, y);
    return true;
}

} // namespace toolkit
