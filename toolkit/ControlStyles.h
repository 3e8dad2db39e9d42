#pragma once
#include "toolkit/Control.h"

namespace toolkit {

// The caller's arguments for a control the keyboard never stops at (labels, frames,
// pictures).
inline ControlArgs WithoutTabStop(ControlArgs args)
{
    args.style &= ~static_cast<DWORD>(WS_TABSTOP);
    return args;
}

} // namespace toolkit
