#include "toolkit/GroupBox.h"

#include "toolkit/ControlStyles.h"

namespace toolkit {

GroupBox::GroupBox(const ControlArgs& args)
    : Control("BUTTON", WithoutTabStop(args), BS_GROUPBOX)
{
}

} // namespace toolkit
