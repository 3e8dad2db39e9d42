#pragma once
#include "toolkit/Control.h"

namespace toolkit {

// A check box. OnClick is raised whenever its state changes: by the user, or by SetChecked
// with the other state; SetChecked with the state it already has raises nothing.
class CheckBox : public Control {
public:
    explicit CheckBox(const ControlArgs& args);

    bool Checked() const;
    void SetChecked(bool checked);

    NotifyEvent OnClick;

protected:
    bool HandleCommand(WORD code) override;

private:
    bool shownChecked_; // the state the last click event saw
};

} // namespace toolkit
