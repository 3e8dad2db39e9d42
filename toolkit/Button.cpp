#include "toolkit/Button.h"

#include "toolkit/Dpi.h"

namespace toolkit {

Button::Button(const ControlArgs& args)
    : Control("BUTTON", args, BS_PUSHBUTTON)
{
}

void Button::Click()
{
    // BM_CLICK is unreliable while the window is not active, so raise the event directly.
    if (Enabled())
        Raise(OnClick, *this);
}

int Button::CaptionWidth(UINT dpi) const
{
    return TextExtent(Text()).cx + 2 * (SystemMetric(SM_CXEDGE, dpi) + 1);
}

bool Button::HandleCommand(WORD code)
{
    if (code != BN_CLICKED)
        return false;
    Raise(OnClick, *this);
    return true;
}

} // namespace toolkit
