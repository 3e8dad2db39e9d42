#pragma once
#include "toolkit/Handles.h"

#include <windows.h>

namespace toolkit {

// Windows are designed at 96 pixels per inch (100 percent) and shown at the density of the
// monitor they are on. The system's functions for a given density came with Windows 10
// (1607); each helper here finds them at run time and, where they are missing, works from
// the one density the older system knows.

constexpr UINT DesignDpi = 96;

// The density a window is shown at: the system's answer for the window, else the screen's
// LOGPIXELSX, else 96.
UINT WindowDpi(HWND window) noexcept;
// The density of the system as a whole (the primary monitor when the user logged on).
UINT SystemDpi() noexcept;

// A length designed at 96 pixels per inch, at dpi; exact at 96.
inline int Scale(int designed, UINT dpi) noexcept
{
    return MulDiv(designed, static_cast<int>(dpi), static_cast<int>(DesignDpi));
}
// A rectangle designed at 96 pixels per inch, at dpi. Each edge is scaled on its own, so
// rectangles that meet at 96 meet at every density.
RECT ScaleRect(const RECT& designed, UINT dpi) noexcept;

// A system metric (SM_CXSMICON, SM_CXMENUCHECK, ...) at dpi.
int SystemMetric(int index, UINT dpi) noexcept;

// The font message boxes use, at dpi. Throws std::runtime_error when the system gives none.
LOGFONTA MessageFont(UINT dpi);

// The outer size of a window whose client area is `client` at dpi, with that frame.
SIZE FrameSize(SIZE client, DWORD style, DWORD exStyle, UINT dpi) noexcept;

// An icon of the program's resources drawn at size x size pixels: the image of that size,
// or a larger one scaled down smoothly. Null when the program has no such icon.
IconHandle LoadIconOfSize(int resourceId, int size) noexcept;

// The icons a window shows in its caption, on the taskbar and in Alt+Tab, at the window's
// density, for as long as this object lives (the window only borrows them).
class WindowIcons {
public:
    // Loads both sizes of the icon for dpi and gives them to the window; where an icon
    // cannot be loaded the window keeps the one it has. True when both were given.
    bool Apply(HWND window, int resourceId, UINT dpi) noexcept;

private:
    IconHandle big_;
    IconHandle small_;
};

} // namespace toolkit
