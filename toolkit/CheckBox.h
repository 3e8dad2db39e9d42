#pragma once
#include "toolkit/CheckableButton.h"

namespace toolkit {

// A check box. OnClick is raised whenever its state changes: by the user, or by SetChecked
// with the other state; SetChecked with the state it already has raises nothing.
class CheckBox : public CheckableButton {
public:
    explicit CheckBox(const ControlArgs& args);

    void SetChecked(bool checked);

protected:
    bool HandleCommand(WORD code) override;

private:
    bool shownChecked_; // the state the last click event saw
};

} // namespace toolkit
