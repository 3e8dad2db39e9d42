#include "toolkit/Label.h"

#include "toolkit/ControlStyles.h"
#include "toolkit/Font.h"

namespace toolkit {

namespace {

bool SizesItself(const ControlArgs& args) noexcept
{
    return args.width == 0 || args.height == 0;
}

// The size a label is made at: its text's in the font the control gets as it is made (its
// window's), so that it is made whole rather than made and then resized.
SIZE MadeSize(const ControlArgs& args) noexcept
{
    if (!SizesItself(args))
        return SIZE{args.width, args.height};
    const auto font = reinterpret_cast<HFONT>(SendMessageA(args.parent, WM_GETFONT, 0, 0));
    return DrawnTextSize(font, args.text);
}

} // namespace

Label::Label(const ControlArgs& args)
    : Control("STATIC", WithoutTabStop(args), SS_LEFT, 0, MadeSize(args)), autoSize_(SizesItself(args))
{
    Subclass(Handle());
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
    const SIZE size = DrawnTextSize(reinterpret_cast<HFONT>(SendMessageA(Handle(), WM_GETFONT, 0, 0)), Text());
    if (size.cx == 0 && size.cy == 0)
        return; // not measured: the old size stays rather than shrinking to nothing
    RECT now{};
    if (GetWindowRect(Handle(), &now) && now.right - now.left == size.cx && now.bottom - now.top == size.cy)
        return; // already that size: a move would only repaint it
    // Only the size changes; a failure leaves the old size, which still shows the text's start.
    SetWindowPos(Handle(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace toolkit
