#include "toolkit/ProgressBar.h"

#include <commctrl.h>

#include <algorithm>

namespace toolkit {

namespace {

// The class is the common controls'; registered before the first bar is made.
const char* RegisteredClass()
{
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes); // already registered where it fails; creation tells
    return PROGRESS_CLASSA;
}

} // namespace

ProgressBar::ProgressBar(const ControlArgs& args) : Control(RegisteredClass(), args, 0)
{
    SendMessageA(Handle(), PBM_SETRANGE32, 0, 100);
}

void ProgressBar::SetPosition(int percent)
{
    position_ = std::clamp(percent, 0, 100);
    SendMessageA(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

} // namespace toolkit
