#include "toolkit/Font.h"

#include "base/DeviceContext.h"
#include "base/SystemError.h"

#include <cstring>
#include <stdexcept>

namespace toolkit {

FontHandle CreatePointFont(const char* face, int points, UINT dpi)
{
    LOGFONTA font{};
    font.lfHeight = -MulDiv(points, static_cast<int>(dpi), 72);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
    std::strncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    FontHandle handle(CreateFontIndirectA(&font));
    if (!handle)
        throw std::runtime_error("The font " + std::string(face) + " cannot be created: " +
                                 base::SystemErrorText(GetLastError()));
    return handle;
}

namespace {

// Runs measure with the font selected into a memory device context; 0 x 0 without one.
template <typename Measure>
SIZE MeasureIn(HFONT font, Measure measure) noexcept
{
    const base::MemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc)
        return SIZE{0, 0};
    const base::SelectedObject selected(dc.Get(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
    return measure(dc.Get());
}

} // namespace

SIZE TextExtent(HFONT font, const std::string& text) noexcept
{
    return MeasureIn(font, [&text](HDC dc) {
        SIZE extent{0, 0};
        if (!GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent))
            extent = SIZE{0, 0};
        return extent;
    });
}

SIZE DrawnTextSize(HFONT font, const std::string& text) noexcept
{
    return MeasureIn(font, [&text](HDC dc) {
        RECT extent{0, 0, 0, 0};
        if (!DrawTextA(dc, text.empty() ? " " : text.c_str(), -1, &extent, DT_CALCRECT | DT_LEFT | DT_EXPANDTABS))
            return SIZE{0, 0};
        return SIZE{extent.right - extent.left, extent.bottom - extent.top};
    });
}

namespace {

struct FontChange {
    HFONT font;
    BOOL redraw;
};

BOOL CALLBACK ApplyToChild(HWND child, LPARAM change)
{
    const auto& wanted = *reinterpret_cast<const FontChange*>(change);
    SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(wanted.font), wanted.redraw);
    return TRUE;
}

} // namespace

void ApplyFont(HWND window, HFONT font)
{
    // A window not yet shown paints everything when it is; asking each control to redraw
    // now only queues work that showing it does again.
    const FontChange change{font, IsWindowVisible(window)};
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), change.redraw);
    // Visits every descendant; its answer carries nothing, as the callback never stops it.
    EnumChildWindows(window, &ApplyToChild, reinterpret_cast<LPARAM>(&change));
}

} // namespace toolkit
