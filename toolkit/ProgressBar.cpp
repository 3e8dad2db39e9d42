#include "toolkit/ProgressBar.h"

#include <commctrl.h>

#include <algorithm>

namespace toolkit {

ProgressBar::ProgressBar(const ControlArgs& args)
    : Control(CommonControlClass(ICC_PROGRESS_CLASS, PROGRESS_CLASSA), args, 0)
{
    SendMessageA(Handle(), PBM_SETRANGE32, 0, 100);
}

void ProgressBar::SetPosition(int percent)
{
    position_ = std::clamp(percent, 0, 100);
    SendMessageA(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

} // namespace toolkit
