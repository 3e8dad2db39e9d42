#include "toolkit/Label.h"

#include "toolkit/ControlStyles.h"

namespace toolkit {

Label::Label(const ControlArgs& args)
    : Control("STATIC", WithoutTabStop(args), SS_LEFT), autoSize_(args.width == 0 || args.height == 0)
{
    Subclass(Handle());
    FitText();
}

void Label::SetText(const std::string& text)
{
    Control::SetText(text);
    FitText();
}

LRESULT Label::Filter(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = PassOn(hwnd, message, wParam, lParam);
    if (message == WM_SETFONT)
        FitText();
    return result;
}

void Label::FitText()
{
    if (!autoSize_)
        return;
    // Read before the device context is taken: nothing that can throw runs while it is held.
    const std::string text = Text();
    const HDC dc = GetDC(Handle());
    if (!dc)
        return; // keeps its old size; the next change of text or font tries again
    const auto font = reinterpret_cast<HFONT>(SendMessageA(Handle(), WM_GETFONT, 0, 0));
    const HGDIOBJ previous = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
    RECT extent{0, 0, 0, 0};
    // An empty label keeps the height of one line, as it would show one.
    const int measured =
        DrawTextA(dc, text.empty() ? " " : text.c_str(), -1, &extent, DT_CALCRECT | DT_LEFT | DT_EXPANDTABS);
    SelectObject(dc, previous);
    ReleaseDC(Handle(), dc);
    if (measured == 0)
        return; // not measured: the old size stays rather than shrinking to nothing
    // Only the size changes; a failure leaves the old size, which still shows the text's start.
    SetWindowPos(Handle(), nullptr, 0, 0, extent.right - extent.left, extent.bottom - extent.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace toolkit
