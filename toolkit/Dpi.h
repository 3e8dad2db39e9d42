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

// Both sizes of an icon drawn for one density (0: for none in particular).
struct DensityIcons {
    HICON big = nullptr;
    HICON small = nullptr;
    UINT dpi = 0;
};

// The icons a window shows in its caption, on the taskbar and in Alt+Tab, at the window's
// density, for as long as this object lives (the window only borrows them).
//
// A window whose class's icons were drawn for its density shows those: the caption draws
// the class's, and the window answers WM_GETICON with Shown(), which is how the taskbar,
// Alt+Tab and the window system ask. Giving a window icons (WM_SETICON) costs dozens of calls
// to the window manager under Wine and a caption redraw, so that is left for the densities
// the class's icons were not drawn for.
class WindowIcons {
public:
    // Gives the window both sizes of the icon for dpi: the class's when they were drawn for
    // it, else loaded here; where an icon cannot be loaded the window keeps the one it has.
    // True when both were given.
    bool Apply(HWND window, int resourceId, UINT dpi, const DensityIcons& classIcons = {}) noexcept;
    // The icon the window shows for WM_GETICON's wParam; null when none was given here.
    HICON Shown(WPARAM which) const noexcept { return which == ICON_BIG ? shown_.big : shown_.small; }

private:
    IconHandle big_;
    IconHandle small_;
    DensityIcons shown_;
};

} // namespace toolkit
