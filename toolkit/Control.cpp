#include "toolkit/Control.h"

#include "toolkit/Application.h"
#include "toolkit/Dpi.h"
#include "toolkit/Font.h"
#include "base/SystemError.h"

#include <commctrl.h>

#include <stdexcept>
#include <vector>

namespace toolkit {

namespace {

void ThrowLastError()
{
    throw std::runtime_error(base::SystemErrorText(GetLastError()));
}

// Each message a control receives passes through here; looking the object up in the window's
// own memory costs no call to the window manager, which a window property or the common
// controls' subclassing (itself a property) would on every message.
Control* BoundControl(HWND hwnd) noexcept
{
    return reinterpret_cast<Control*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

// The procedure of the window's class: what answers below ours when we know no other.
WNDPROC ClassProcedure(HWND hwnd) noexcept
{
    return reinterpret_cast<WNDPROC>(GetClassLongPtrA(hwnd, GCLP_WNDPROC));
}

} // namespace

const char* CommonControlClass(DWORD classes, const char* name)
{
    INITCOMMONCONTROLSEX wanted{sizeof wanted, classes};
    InitCommonControlsEx(&wanted); // already registered where it fails; the creation tells
    return name;
}

Control::Control(const char* className, const ControlArgs& args, DWORD kindStyle, DWORD kindExStyle)
    : Control(className, args, kindStyle, kindExStyle, SIZE{args.width, args.height})
{
}

Control::Control(const char* className, const ControlArgs& args, DWORD kindStyle, DWORD kindExStyle, SIZE size)
    : designed_{args.left, args.top, args.left + args.width, args.top + args.height}
{
    hwnd_ = CreateWindowExA(args.exStyle | kindExStyle, className, args.text.c_str(),
                            WS_CHILD | WS_VISIBLE | args.style | kindStyle, args.left, args.top, size.cx,
                            size.cy, args.parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!hwnd_)
        ThrowLastError();
    // Like a dialog's controls, each takes the font its window gives them as it is made: a
    // control that fits its text measures it once, in the font it shows it in.
    if (const auto font = reinterpret_cast<HFONT>(SendMessageA(args.parent, WM_GETFONT, 0, 0)))
        SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    Adopt(hwnd_);
}

Control::~Control()
{
    for (WindowSubclass& slot : subclassed_)
        slot.Remove(); // a procedure put on top of ours keeps it: it then passes on to the class alone
    Disown(hwnd_);
    DestroyWindow(hwnd_); // fails only for a window its parent already destroyed
}

// A system class keeps its own state in the window's extra bytes, never in GWLP_USERDATA,
// which is the creator's; a toolkit::Window keeps its object in extra bytes of its own
// class, so a window of ours that is no control reads as none.
void Control::Adopt(HWND partner)
{
    SetLastError(ERROR_SUCCESS); // a previous value of 0 is no failure
    if (!SetWindowLongPtrA(partner, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this)) &&
        GetLastError() != ERROR_SUCCESS)
        ThrowLastError();
}

void Control::Disown(HWND partner) noexcept
{
    if (BoundControl(partner) == this)
        SetWindowLongPtrA(partner, GWLP_USERDATA, 0); // fails only for a window already gone
}

Control* Control::FromHandle(HWND hwnd) noexcept
{
    if (!hwnd)
        return nullptr;
    return BoundControl(hwnd);
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
    return toolkit::TextExtent(reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0)), text);
}

void Control::PlaceAfter(const Control& previous)
{
    if (!SetWindowPos(hwnd_, previous.hwnd_, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE))
        ThrowLastError();
}

void Control::Subclass(HWND hwnd)
{
    for (WindowSubclass& slot : subclassed_) {
        if (!slot.Window()) {
            slot = WindowSubclass(hwnd, &Control::SubclassProcedure);
            return;
        }
    }
    throw std::logic_error("A control subclasses at most two windows.");
}

void Control::Unsubclass(HWND hwnd) noexcept
{
    for (WindowSubclass& slot : subclassed_) {
        if (slot.Window() && slot.Window() == hwnd) {
            // Nothing in this program subclasses a control after it; were a procedure set on
            // top of ours, ours would stay in its chain and pass on to the class alone.
            slot = WindowSubclass();
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
    for (const WindowSubclass& slot : subclassed_)
        if (slot.Window() == hwnd)
            return slot.PassOn(message, wParam, lParam);
    return CallWindowProcA(ClassProcedure(hwnd), hwnd, message, wParam, lParam); // not one of ours
}

LRESULT CALLBACK Control::SubclassProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Control* control = BoundControl(hwnd);
    if (!control) {
        // Let go of by its object while still subclassed: the class answers alone.
        return CallWindowProcA(ClassProcedure(hwnd), hwnd, message, wParam, lParam);
    }
    try {
        return control->Filter(hwnd, message, wParam, lParam);
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
