#include "toolkit/Edit.h"

namespace toolkit {

Edit::Edit(const ControlArgs& args)
    : Edit(args, ES_AUTOHSCROLL)
{
}

Edit::Edit(const ControlArgs& args, DWORD kindStyle)
    : Control("EDIT", args, kindStyle, WS_EX_CLIENTEDGE), shownText_(Text())
{
}

void Edit::SetText(const std::string& text)
{
    if (Text() == text)
        return;
    // The change notice the edit sends for this finds the new text already seen.
    shownText_ = text;
    try {
        Control::SetText(text);
    } catch (...) {
        shownText_ = Text();
        throw;
    }
    Raise(OnChange, *this);
}

int Edit::MaxLength() const
{
    const auto limit = static_cast<LRESULT>(SendMessageA(Handle(), EM_GETLIMITTEXT, 0, 0));
    // The system's own limit is reported as a very large number; 0 stands for it.
    return limit >= 0x7FFFFFFE ? 0 : static_cast<int>(limit);
}

void Edit::SetMaxLength(int characters)
{
    SendMessageA(Handle(), EM_LIMITTEXT, characters > 0 ? static_cast<WPARAM>(characters) : 0, 0);
}

bool Edit::HandleCommand(WORD code)
{
    if (code != EN_CHANGE)
        return false;
    std::string text = Text();
    if (text != shownText_) {
        shownText_ = std::move(text);
        Raise(OnChange, *this);
    }
    return true;
}

} // namespace toolkit
