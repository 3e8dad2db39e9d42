#pragma once
#include "toolkit/Control.h"

namespace toolkit {

// What check boxes and radio buttons have in common: a button that is checked or clear,
// with an OnClick event that the kinds raise when the state changes.
class CheckableButton : public Control {
public:
    bool Checked() const;

    NotifyEvent OnClick;

    // The caption after the box and the gap the system leaves, half a digit wide.
    int CaptionWidth(UINT dpi) const override;

protected:
    CheckableButton(const ControlArgs& args, DWORD kindStyle);

    // Shows the state without raising anything.
    void ShowChecked(bool checked);
};

} // namespace toolkit
