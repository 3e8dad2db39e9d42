#pragma once
#include "toolkit/Dpi.h"
#include "toolkit/Handles.h"

#include <windows.h>

#include <functional>

namespace toolkit {

// Lays a top-level window designed at 96 pixels per inch out for the density of its monitor,
// and again when it moves to a monitor of another: its client size, its controls' font,
// their places (LayOutControls: exactly as designed at 96) and its icons. The window's
// owner keeps one as a member declared before the controls, as they draw with its font
// until they go.
class WindowDensity {
public:
    using FontMaker = std::function<FontHandle(UINT dpi)>;

    // classIcons: the icons of the window's class, shown as they are at the density they
    // were drawn for (see WindowIcons).
    WindowDensity(SIZE designedClient, int iconResource, FontMaker makeFont, const DensityIcons& classIcons = {});

    UINT Dpi() const noexcept { return dpi_; }
    // The controls' font for the window's density, made by Prepare or LayOut; null before.
    HFONT Font() const noexcept { return font_.Get(); }
    // The window's answer to WM_GETICON; null when it has none of its own to give.
    HICON Icon(WPARAM which) const noexcept { return icons_.Shown(which); }
    // From the window's WM_NCCREATE: makes the font for the density the window is made at,
    // before its controls are, so each takes it as it is made (the window answers
    // WM_GETFONT with Font()), and gives the window its icons (none to give where its
    // class's were drawn for the density) before the window system has made its own window
    // for it, so they are converted once. LayOut then need not do either again.
    void Prepare(HWND window) noexcept;
    // Lays the window out for the density it is shown at, keeping its top-left corner.
    void LayOut(HWND window);
    // WM_DPICHANGED: the new density comes in wParam (the system may not report it yet) and
    // the place the system suggests in lParam.
    void Changed(HWND window, WPARAM wParam, LPARAM lParam);

private:
    void Apply(HWND window, UINT dpi, const RECT* place);
    void ApplyIcons(HWND window, UINT dpi) noexcept;

    SIZE designedClient_;
    int iconResource_;
    FontMaker makeFont_;
    DensityIcons classIcons_;
    UINT dpi_ = DesignDpi; // the controls are made for it
    FontHandle font_;
    UINT fontDpi_ = 0; // the density font_ was made for
    WindowIcons icons_;
    UINT iconsDpi_ = 0; // the density icons_ were given for
};

} // namespace toolkit
