#pragma once
#include "toolkit/Handles.h"

namespace toolkit {

// A font of the given face and point size at dpi pixels per inch; where the face is not
// installed, the system's closest match. Throws std::runtime_error when no font can be made.
FontHandle CreatePointFont(const char* face, int points, UINT dpi);

// Gives a window and every window inside it the font, redrawn at once where the window is
// shown (a hidden one paints with it when shown). The font must outlive them.
void ApplyFont(HWND window, HFONT font);

} // namespace toolkit
