#pragma once
#include "toolkit/Control.h"

namespace toolkit {

// A captioned frame around other controls. The controls inside are siblings created after
// it, at positions within the parent; clicks pass through the frame to them.
class GroupBox : public Control {
public:
    explicit GroupBox(const ControlArgs& args);
};

} // namespace toolkit
