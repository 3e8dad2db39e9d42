#include "toolkit/CheckableButton.h"

#include "toolkit/Dpi.h"

namespace toolkit {

CheckableButton::CheckableButton(const ControlArgs& args, DWORD kindStyle)
    : Control("BUTTON", args, kindStyle)
{
}

bool CheckableButton::Checked() const
{
    return SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

int CheckableButton::CaptionWidth(UINT dpi) const
{
    return SystemMetric(SM_CXMENUCHECK, dpi) + TextExtent("0").cx / 2 + TextExtent(Text()).cx;
}

void CheckableButton::ShowChecked(bool checked)
{
    SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0); // always answers 0
}

} // namespace toolkit
