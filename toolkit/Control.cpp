#include "toolkit/Control.h"

#include "toolkit/Application.h"
#include "toolkit/Dpi.h"
#include "base/SystemError.h"

#include <commctrl.h>

#include <stdexcept>
#include <vector>

namespace toolkit {

namespace {

// The window property that ties a child window to its control object. A property rather
// than GWLP_USERDATA, so a child that is not one of ours (a toolkit::Window keeps its own
// object there) is never mistaken for a control.
constexpr const char* kControlProperty = "Varnquill.Control";
constexpr UINT_PTR kSubclassId = 1;

void ThrowLastError()
{
    throw std::runtime_error(base::SystemErrorText(GetLastError()));
}

} // namespace

Control::Control(const char* className, const ControlArgs& args, DWORD kindStyle, DWORD kindExStyle)
    : designed_{args.left, args.top, args.left + args.width, args.top + args.height}
{
    hwnd_ = CreateWindowExA(args.exStyle | kindExStyle, className, args.text.c_str(),
                            WS_CHILD | WS_VISIBLE | args.style | kindStyle, args.left, args.top,
                            args.width, args.height, args.parent, nullptr, GetModuleHandleA(nullptr),
                            nullptr);
    if (!hwnd_)
        ThrowLastError();
    Adopt(hwnd_);
}

Control::~Control()
{
    for (HWND hwnd : subclassed_)
        if (hwnd)
            Unsubclass(hwnd);
    Disown(hwnd_);
    DestroyWindow(hwnd_); // fails only for a window its parent already destroyed
}

void Control::Adopt(HWND partner)
{
    if (!SetPropA(partner, kControlProperty, this))
        ThrowLastError();
}

void Control::Disown(HWND partner) noexcept
{
    RemovePropA(partner, kControlProperty); // nothing to undo when it was never set
}

Control* Control::FromHandle(HWND hwnd) noexcept
{
    if (!hwnd)
        return nullptr;
    return static_cast<Control*>(GetPropA(hwnd, kControlProperty));
}

std::string Control::Text() const
{
    const int length = GetWindowTextLengthA(hwnd_);
    if (length <= 0)
        return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(hwnd_, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

void Control::SetText(const std::string& text)
{
    if (!SetWindowTextA(hwnd_, text.c_str()))
        ThrowLastError();
}

void Control::SetEnabled(bool enabled)
{
    EnableWindow(hwnd_, enabled ? TRUE : FALSE); // answers the previous state, not success
}

void Control::SetFocus()
{
    ::SetFocus(hwnd_); // a hidden or disabled control keeps the focus where it is
}

RECT Control::Bounds() const
{
    RECT rect{};
    if (!GetWindowRect(hwnd_, &rect))
        ThrowLastError();
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd_), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void Control::ScaleTo(UINT dpi)
{
    const RECT scaled = ScaleRect(designed_, dpi);
    const bool ownSize = designed_.right == designed_.left || designed_.bottom == designed_.top;
    if (!SetWindowPos(hwnd_, nullptr, scaled.left, scaled.top, scaled.right - scaled.left, scaled.bottom - scaled.top,
                      SWP_NOZORDER | SWP_NOACTIVATE | (ownSize ? SWP_NOSIZE : 0)))
        ThrowLastError();
}

void Control::MoveRight(int dx)
{
    const RECT bounds = Bounds();
    if (!SetWindowPos(hwnd_, nullptr, bounds.left + dx, bounds.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE))
        ThrowLastError();
}

int Control::CaptionWidth(UINT) const
{
    return 0;
}

SIZE Control::TextExtent(const std::string& text) const
{
    SIZE extent{0, 0};
    const HDC dc = GetDC(hwnd_);
    if (!dc)
        return extent; // measured as nothing: the control keeps the width it has
    const auto font = reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0));
    const HGDIOBJ previous = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
    if (!GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent))
        extent = SIZE{0, 0};
    SelectObject(dc, previous);
    ReleaseDC(hwnd_, dc);
    return extent;
}

void Control::PlaceAfter(const Control& previous)
{
    if (!SetWindowPos(hwnd_, previous.hwnd_, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE))
        ThrowLastError();
}

void Control::Subclass(HWND hwnd)
{
    for (HWND& slot : subclassed_) {
        if (!slot) {
            if (!SetWindowSubclass(hwnd, &Control::SubclassProcedure, kSubclassId,
                                   reinterpret_cast<DWORD_PTR>(this)))
                throw std::runtime_error("A control could not be set up.");
            slot = hwnd;
            return;
        }
    }
    throw std::logic_error("A control subclasses at most two windows.");
}

void Control::Unsubclass(HWND hwnd) noexcept
{
    for (HWND& slot : subclassed_) {
        if (slot && slot == hwnd) {
            RemoveWindowSubclass(hwnd, &Control::SubclassProcedure, kSubclassId); // gone or removed: both fine
            slot = nullptr;
        }
    }
}

bool Control::HandleCommand(WORD)
{
    return false;
}

bool Control::HandleNotify(const NMHDR&, LRESULT&)
{
    return false;
}

bool Control::HandleContextMenu(HWND, int, int)
{
    return false;
}

bool Control::HandleColor(HDC, LRESULT&)
{
    return false;
}

LRESULT Control::Filter(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return PassOn(hwnd, message, wParam, lParam);
}

LRESULT Control::PassOn(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK Control::SubclassProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR, DWORD_PTR self)
{
    try {
        return reinterpret_cast<Control*>(self)->Filter(hwnd, message, wParam, lParam);
    } catch (...) {
        Application::Instance().HandleException(std::current_exception());
        return 0;
    }
}

bool Control::Dispatch(Control& control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    result = 0;
    switch (message) {
    case WM_COMMAND:
        return control.HandleCommand(HIWORD(wParam));
    case WM_NOTIFY:
        return control.HandleNotify(*reinterpret_cast<const NMHDR*>(lParam), result);
    case WM_CONTEXTMENU:
        return control.HandleContextMenu(reinterpret_cast<HWND>(wParam),
                                         static_cast<short>(LOWORD(lParam)),
                                         static_cast<short>(HIWORD(lParam)));
    default:
        return control.HandleColor(reinterpret_cast<HDC>(wParam), result);
    }
}

bool Control::Reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) noexcept
{
    HWND source = nullptr;
    switch (message) {
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
        source = reinterpret_cast<HWND>(lParam);
        break;
    case WM_NOTIFY:
        source = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
        break;
    case WM_CONTEXTMENU:
        source = reinterpret_cast<HWND>(wParam);
        break;
    default:
        return false;
    }
    Control* control = FromHandle(source);
    if (!control)
        return false;
    try {
        return Dispatch(*control, message, wParam, lParam, result);
    } catch (...) {
        Application::Instance().HandleException(std::current_exception());
        result = 0;
        return true;
    }
}

} // namespace toolkit
