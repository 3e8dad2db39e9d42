#include "toolkit/RadioButton.h"

#include "toolkit/ControlStyles.h"

namespace toolkit {

// A plain radio button: the state is switched here, not by the button, so that program
// and user selections take the same road and siblings are found by parent.
RadioButton::RadioButton(const ControlArgs& args)
    : CheckableButton(WithoutTabStop(args), BS_RADIOBUTTON)
{
}

void RadioButton::SetChecked(bool checked)
{
    if (Checked() == checked)
        return;
    Show(checked);
    if (checked) {
        ClearSiblings();
        Raise(OnClick, *this);
    }
}

void RadioButton::Show(bool checked)
{
    ShowChecked(checked);
    const LONG_PTR style = GetWindowLongPtrA(Handle(), GWL_STYLE);
    const LONG_PTR wanted = checked ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
    if (wanted != style)
        SetWindowLongPtrA(Handle(), GWL_STYLE, wanted); // a style bit; cannot fail on our own child
}

void RadioButton::ClearSiblings()
{
    for (HWND sibling = GetWindow(GetParent(Handle()), GW_CHILD); sibling;
         sibling = GetWindow(sibling, GW_HWNDNEXT)) {
        if (sibling == Handle())
            continue;
        if (auto* radio = dynamic_cast<RadioButton*>(Control::FromHandle(sibling)))
            radio->Show(false);
    }
}

bool RadioButton::HandleCommand(WORD code)
{
    if (code != BN_CLICKED)
        return false;
    SetChecked(true);
    return true;
}

} // namespace toolkit
