#include "toolkit/WindowDensity.h"

#include "toolkit/Font.h"
#include "toolkit/Layout.h"
#include "base/SystemError.h"

#include <stdexcept>
#include <utility>

namespace toolkit {

WindowDensity::WindowDensity(SIZE designedClient, int iconResource, FontMaker makeFont, const DensityIcons& classIcons)
    : designedClient_(designedClient), iconResource_(iconResource), makeFont_(std::move(makeFont)),
      classIcons_(classIcons)
{
}

void WindowDensity::Prepare(HWND window) noexcept
{
    const UINT dpi = WindowDpi(window);
    try {
        font_ = makeFont_(dpi);
        fontDpi_ = dpi;
    } catch (...) {
        // Not here, where the window is being made: LayOut makes it again and reports.
    }
    ApplyIcons(window, dpi);
}

void WindowDensity::ApplyIcons(HWND window, UINT dpi) noexcept
{
    // Where one could not be loaded, the next lay-out tries again.
    iconsDpi_ = icons_.Apply(window, iconResource_, dpi, classIcons_) ? dpi : 0;
}

void WindowDensity::LayOut(HWND window)
{
    Apply(window, WindowDpi(window), nullptr);
}

void WindowDensity::Changed(HWND window, WPARAM wParam, LPARAM lParam)
{
    Apply(window, LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
}

void WindowDensity::Apply(HWND window, UINT dpi, const RECT* place)
{
    // The controls are made in their places at the design density: until the window has been
    // laid out for another, there they stay.
    const bool controlsInPlace = dpi == DesignDpi && dpi_ == DesignDpi;
    dpi_ = dpi;
    if (!font_ || fontDpi_ != dpi) {
        // The controls let go of the old font when given the new one; only then may it go.
        FontHandle font = makeFont_(dpi);
        ApplyFont(window, font.Get());
        font_ = std::move(font);
        fontDpi_ = dpi;
    }

    BOOL placed = FALSE;
    if (place) {
        placed = SetWindowPos(window, nullptr, place->left, place->top, place->right - place->left,
                              place->bottom - place->top, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        const SIZE client{Scale(designedClient_.cx, dpi), Scale(designedClient_.cy, dpi)};
        const SIZE outer = FrameSize(client, static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)),
                                     static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE)), dpi);
        RECT now{};
        placed = GetWindowRect(window, &now) && now.right - now.left == outer.cx && now.bottom - now.top == outer.cy;
        if (!placed) // not made at that size already
            placed = SetWindowPos(window, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (!placed)
        throw std::runtime_error("The window cannot take its size: " + base::SystemErrorText(GetLastError()));
    if (!controlsInPlace)
        LayOutControls(window, dpi);
    if (iconsDpi_ != dpi)
        ApplyIcons(window, dpi);
}

} // namespace toolkit
