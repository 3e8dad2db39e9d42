#pragma once
#include "vqsig/PickSettings.h"

namespace vqsig {

// The signature settings Varnquill keeps, read where Varnquill keeps them, so that a pick
// from the command line and one from the tray write the same file the same way.
PickSettings ReadProgramSettings();

} // namespace vqsig
