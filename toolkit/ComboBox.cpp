#include "toolkit/ComboBox.h"

#include "toolkit/Dpi.h"

#include <algorithm>
#include <stdexcept>

namespace toolkit {

ComboBox::ComboBox(const ControlArgs& args, const std::vector<std::string>& items)
    : Control("COMBOBOX", args, CBS_DROPDOWNLIST | WS_VSCROLL)
{
    for (const std::string& item : items) {
        const auto index = SendMessageA(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        if (index == CB_ERR || index == CB_ERRSPACE)
            throw std::runtime_error("Not enough memory to add an item to the list.");
    }
}

int ComboBox::Count() const
{
    const auto count = SendMessageA(Handle(), CB_GETCOUNT, 0, 0);
    return count == CB_ERR ? 0 : static_cast<int>(count);
}

std::string ComboBox::Item(int index) const
{
    const auto length = SendMessageA(Handle(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (index < 0 || length == CB_ERR)
        throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const auto copied =
        SendMessageA(Handle(), CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == CB_ERR ? 0 : static_cast<std::size_t>(copied));
    return text;
}

int ComboBox::ItemIndex() const
{
    const auto index = SendMessageA(Handle(), CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

int ComboBox::CaptionWidth(UINT dpi) const
{
    int widest = 0;
    for (int index = 0; index < Count(); ++index)
        widest = std::max(widest, static_cast<int>(TextExtent(Item(index)).cx));
    // The field's edge on both sides, the arrow button, and a margin of half a digit each side.
    return widest + 2 * SystemMetric(SM_CXEDGE, dpi) + SystemMetric(SM_CXVSCROLL, dpi) + TextExtent("0").cx;
}

void ComboBox::SetItemIndex(int index)
{
    if (index < -1 || index >= Count())
        throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
    if (index == ItemIndex())
        return;
    // Choosing by message sends no notification: the event is raised here instead.
    SendMessageA(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    shownIndex_ = index;
    Raise(OnChange, *this);
}

bool ComboBox::HandleCommand(WORD code)
{
    if (code != CBN_SELCHANGE)
        return false;
    // A notice that leaves the choice as it was (sent by a program) raises nothing.
    const int index = ItemIndex();
    if (index != shownIndex_) {
        shownIndex_ = index;
        Raise(OnChange, *this);
    }
    return true;
}

} // namespace toolkit
