#include "toolkit/CheckBox.h"

namespace toolkit {

CheckBox::CheckBox(const ControlArgs& args)
    : Control("BUTTON", args, BS_AUTOCHECKBOX), shownChecked_(false)
{
}

bool CheckBox::Checked() const
{
    return SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CheckBox::SetChecked(bool checked)
{
    if (Checked() == checked)
        return;
    SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    shownChecked_ = checked;
    Raise(OnClick, *this);
}

bool CheckBox::HandleCommand(WORD code)
{
    if (code != BN_CLICKED)
        return false;
    // The box has already switched its state: an automatic check box does that itself.
    // A click notice that leaves the state as it was (sent by a program) raises nothing.
    const bool checked = Checked();
    if (checked != shownChecked_) {
        shownChecked_ = checked;
        Raise(OnClick, *this);
    }
    return true;
}

} // namespace toolkit
