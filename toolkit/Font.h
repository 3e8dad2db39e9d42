#pragma once
#include "toolkit/Handles.h"

#include <string>

namespace toolkit {

// A font of the given face and point size at dpi pixels per inch; where the face is not
// installed, the system's closest match. Throws std::runtime_error when no font can be made.
FontHandle CreatePointFont(const char* face, int points, UINT dpi);

// The size of one line of text in the font (the system font when none), and of the lines of
// the text as DrawText lays them out (an empty text as one line); 0 x 0 when it cannot be
// measured. Measured off-screen: a window's own device context would cost calls to the window
// manager, and the size does not depend on where the text is drawn.
SIZE TextExtent(HFONT font, const std::string& text) noexcept;
SIZE DrawnTextSize(HFONT font, const std::string& text) noexcept;

// Gives a window and every window inside it the font, redrawn at once where the window is
// shown (a hidden one paints with it when shown). The font must outlive them.
void ApplyFont(HWND window, HFONT font);

} // namespace toolkit
