#pragma once
#include "toolkit/CheckableButton.h"

namespace toolkit {

// A radio button. The radio buttons of one parent window are exclusive: selecting one
// clears the others. Only the selected one is a tab stop. OnClick is raised when the
// button becomes selected, by the user or by SetChecked(true); selecting the button that
// is already selected raises nothing, and a button being cleared raises nothing.
class RadioButton : public CheckableButton {
public:
    explicit RadioButton(const ControlArgs& args);

    void SetChecked(bool checked);

protected:
    bool HandleCommand(WORD code) override;

private:
    // Sets the state and the tab stop that goes with it; raises nothing.
    void Show(bool checked);
    void ClearSiblings();
};

} // namespace toolkit
