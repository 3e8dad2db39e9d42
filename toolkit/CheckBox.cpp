#include "toolkit/CheckBox.h"

namespace toolkit {

CheckBox::CheckBox(const ControlArgs& args)
    : CheckableButton(args, BS_AUTOCHECKBOX), shownChecked_(false)
{
}

void CheckBox::SetChecked(bool checked)
{
    if (Checked() == checked)
        return;
    ShowChecked(checked);
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
