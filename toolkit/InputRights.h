#pragma once
#include <windows.h>

namespace toolkit {

// Whether input this process sends can reach the window: Windows refuses it where the
// window's program runs at a higher integrity level (with administrator rights while this
// one runs without). A program whose level cannot even be read counts as higher.
bool TakesOurInput(HWND window);

} // namespace toolkit
