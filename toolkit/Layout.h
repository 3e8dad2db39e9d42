#pragma once
#include <windows.h>

namespace toolkit {

// Puts every control of the parent where its design falls at dpi: exactly there at 96.
// At any other density the fonts of that density need not grow as the layout does, so a
// caption wider than its control gets the room it lacks: the control grows into the space
// before the next control on its row, and where that is not enough, the controls after it on
// the row move right, as far as the group around them (or the parent) leaves room.
void LayOutControls(HWND parent, UINT dpi);

} // namespace toolkit
