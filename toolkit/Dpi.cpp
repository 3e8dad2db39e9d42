#include "toolkit/Dpi.h"

#include "base/DeviceContext.h"
#include "base/SystemError.h"

#include <cstddef>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace toolkit {

namespace {

// A function of a system library that older systems lack: null there. The libraries are
// loaded already (user32 by every window program, comctl32 by the controls).
template <typename Function>
Function SystemFunction(const char* module, const char* name) noexcept
{
    const HMODULE library = GetModuleHandleA(module);
    if (!library)
        return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetDpiForSystemFunction = UINT(WINAPI*)();
using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
using SystemParametersInfoForDpiFunction = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using LoadIconWithScaleDownFunction = HRESULT(WINAPI*)(HINSTANCE, const wchar_t*, int, int, HICON*);

UINT ScreenDpi() noexcept
{
    UINT dpi = DesignDpi; // the usual screen, should the screen's own be unknown
    if (const base::WindowDc screen(nullptr); screen) {
        if (const int asked = GetDeviceCaps(screen.Get(), LOGPIXELSX); asked > 0)
            dpi = static_cast<UINT>(asked);
    }
    return dpi;
}

int ScaleFrom(int value, UINT from, UINT to) noexcept
{
    return MulDiv(value, static_cast<int>(to), static_cast<int>(from));
}

} // namespace

UINT WindowDpi(HWND window) noexcept
{
    static const auto forWindow = SystemFunction<GetDpiForWindowFunction>("user32.dll", "GetDpiForWindow");
    if (forWindow && window) {
        if (const UINT dpi = forWindow(window); dpi != 0)
            return dpi;
    }
    return ScreenDpi();
}

UINT SystemDpi() noexcept
{
    static const auto forSystem = SystemFunction<GetDpiForSystemFunction>("user32.dll", "GetDpiForSystem");
    if (forSystem) {
        if (const UINT dpi = forSystem(); dpi != 0)
            return dpi;
    }
    return ScreenDpi();
}

RECT ScaleRect(const RECT& designed, UINT dpi) noexcept
{
    return RECT{Scale(designed.left, dpi), Scale(designed.top, dpi), Scale(designed.right, dpi),
                Scale(designed.bottom, dpi)};
}

int SystemMetric(int index, UINT dpi) noexcept
{
    static const auto forDpi =
        SystemFunction<GetSystemMetricsForDpiFunction>("user32.dll", "GetSystemMetricsForDpi");
    if (forDpi)
        return forDpi(index, dpi);
    // Older systems measure at the system's density only.
    return ScaleFrom(GetSystemMetrics(index), SystemDpi(), dpi);
}

LOGFONTA MessageFont(UINT dpi)
{
    static const auto forDpi =
        SystemFunction<SystemParametersInfoForDpiFunction>("user32.dll", "SystemParametersInfoForDpi");
    if (forDpi) {
        // The function fills the wide form of the metrics only.
        NONCLIENTMETRICSW wide{};
        wide.cbSize = sizeof wide;
        if (forDpi(SPI_GETNONCLIENTMETRICS, sizeof wide, &wide, 0, dpi)) {
            const LOGFONTW& from = wide.lfMessageFont;
            LOGFONTA font{};
            std::memcpy(&font, &from, offsetof(LOGFONTA, lfFaceName)); // the fields before the face are alike
            if (WideCharToMultiByte(CP_ACP, 0, from.lfFaceName, -1, font.lfFaceName, LF_FACESIZE, nullptr,
                                    nullptr) > 0)
                return font;
            // A face name the code page cannot spell: the older way below still names it.
        }
    }
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        throw std::runtime_error("The system's message font is unknown: " + base::SystemErrorText(GetLastError()));
    LOGFONTA font = metrics.lfMessageFont;
    font.lfHeight = ScaleFrom(font.lfHeight, SystemDpi(), dpi);
    font.lfWidth = ScaleFrom(font.lfWidth, SystemDpi(), dpi);
    return font;
}

SIZE FrameSize(SIZE client, DWORD style, DWORD exStyle, UINT dpi) noexcept
{
    static const auto forDpi =
        SystemFunction<AdjustWindowRectExForDpiFunction>("user32.dll", "AdjustWindowRectExForDpi");
    RECT frame{0, 0, client.cx, client.cy};
    const bool adjusted = forDpi ? forDpi(&frame, style, FALSE, exStyle, dpi) != FALSE
                                 : AdjustWindowRectEx(&frame, style, FALSE, exStyle) != FALSE;
    if (!adjusted) {
        // A thin caption frame's usual sizes, at the density.
        return SIZE{client.cx + Scale(6, dpi), client.cy + Scale(25, dpi)};
    }
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

IconHandle LoadIconOfSize(int resourceId, int size) noexcept
{
    static const auto scaleDown =
        SystemFunction<LoadIconWithScaleDownFunction>("comctl32.dll", "LoadIconWithScaleDown");
    const HINSTANCE program = GetModuleHandleA(nullptr);
    if (scaleDown) {
        HICON icon = nullptr;
        if (SUCCEEDED(scaleDown(program, MAKEINTRESOURCEW(resourceId), size, size, &icon)) && icon)
            return IconHandle(icon);
    }
    // The system picks the nearest image and stretches it; the icon holds the usual sizes.
    return IconHandle(static_cast<HICON>(
        LoadImageA(program, MAKEINTRESOURCEA(resourceId), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

bool WindowIcons::Apply(HWND window, int resourceId, UINT dpi, const DensityIcons& classIcons) noexcept
{
    if (classIcons.big && classIcons.small && classIcons.dpi == dpi) {
        // Icons given for another density before are taken back for the class's.
        if (shown_.big && shown_.big != classIcons.big) {
            SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(classIcons.small));
            SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(classIcons.big));
        }
        shown_ = classIcons;
        big_.Reset();
        small_.Reset();
        return true;
    }
    IconHandle big = LoadIconOfSize(resourceId, SystemMetric(SM_CXICON, dpi));
    IconHandle small = LoadIconOfSize(resourceId, SystemMetric(SM_CXSMICON, dpi));
    // The answers are the icons shown before, which the old handles below still own. The
    // small one goes first: a big one given alone is also shrunk into a small one.
    if (small)
        SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.Get()));
    if (big)
        SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.Get()));
    const bool both = big && small;
    if (big) {
        big_ = std::move(big);
        shown_.big = big_.Get();
    }
    if (small) {
        small_ = std::move(small);
        shown_.small = small_.Get();
    }
    shown_.dpi = dpi;
    return both;
}

} // namespace toolkit
