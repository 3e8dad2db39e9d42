#pragma once
#include "toolkit/Control.h"

namespace toolkit {

// A push button; its caption is its text. OnClick is raised by a click, the space bar
// while it has the focus, or Click().
class Button : public Control {
public:
    explicit Button(const ControlArgs& args);

    // Presses the button as the user would, raising OnClick when it is enabled.
    void Click();

    NotifyEvent OnClick;

    // The caption within the button's edge and focus line.
    int CaptionWidth(UINT dpi) const override;

protected:
    bool HandleCommand(WORD code) override;
};

} // namespace toolkit
