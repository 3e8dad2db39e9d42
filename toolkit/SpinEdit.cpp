#include "toolkit/SpinEdit.h"

#include "toolkit/Dpi.h"
#include "base/SystemError.h"

#include <commctrl.h>

#include <algorithm>
#include <charconv>
#include <climits>
#include <stdexcept>

namespace toolkit {

namespace {

// The repeat of a held arrow button, run here rather than by the up-down control, whose
// own delays differ.
constexpr UINT_PTR kRepeatTimer = 0x5E1D;
constexpr UINT kFirstRepeat = 400;
constexpr UINT kNextRepeat = 100;

char UserDecimalSeparator()
{
    char separator[8] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof separator) < 2)
        return '.'; // no answer from the locale: the usual separator
    return separator[0];
}

} // namespace

std::optional<int> TryParseDecimal(const std::string& text)
{
    size_t start = 0;
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        start = 1;
    }
    if (start == text.size())
        return std::nullopt;
    for (size_t i = start; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
    long long magnitude = 0;
    const auto [end, error] = std::from_chars(text.data() + start, text.data() + text.size(), magnitude);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    const long long value = negative ? -magnitude : magnitude;
    if (value < INT_MIN || value > INT_MAX)
        return std::nullopt;
    return static_cast<int>(value);
}

SpinEdit::SpinEdit(const ControlArgs& args, int minValue, int maxValue)
    : Edit(args, ES_AUTOHSCROLL), minValue_(minValue), maxValue_(maxValue),
      decimalSeparator_(UserDecimalSeparator())
{
    if (minValue > maxValue)
        throw std::invalid_argument("The spin field's minimum is above its maximum.");
    // Aligned to the right of the field, the arrows take their width from it. The Up and
    // Down keys and the wheel are taken in the field's own filter (Filter): for them the
    // arrows would hook the field through the common controls' subclassing, which asks the
    // window manager for a window property on every message the field receives.
    arrows_.Reset(CreateWindowExA(0, CommonControlClass(ICC_UPDOWN_CLASS, UPDOWN_CLASSA), "",
                                  WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_NOTHOUSANDS,
                                  0, 0, 0, 0, args.parent, nullptr, GetModuleHandleA(nullptr), nullptr));
    if (!arrows_)
        throw std::runtime_error(base::SystemErrorText(GetLastError()));
    SendMessageA(arrows_.Get(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(Handle()), 0);
    FitArrows(args.left + args.width);
    NoteArrowsPlace(WindowDpi(args.parent));
    SendMessageA(arrows_.Get(), UDM_SETRANGE32, static_cast<WPARAM>(minValue), static_cast<LPARAM>(maxValue));
    UDACCEL step{0, 1}; // one step at a time however long an arrow is held
    SendMessageA(arrows_.Get(), UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&step));
    Adopt(arrows_.Get());
    Subclass(Handle());
    Subclass(arrows_.Get());
    SyncArrows();
}

SpinEdit::~SpinEdit()
{
    if (heldArrow_)
        KillTimer(arrows_.Get(), kRepeatTimer); // gone with the window anyway
    Unsubclass(arrows_.Get());
    Disown(arrows_.Get());
}

void SpinEdit::NoteArrowsPlace(UINT dpi)
{
    const HWND parent = GetParent(Handle());
    RECT arrows{};
    RECT field{};
    if (!GetWindowRect(arrows_.Get(), &arrows) || !GetWindowRect(Handle(), &field))
        return; // scaled later as if the arrows had no width: the field alone takes the place
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&arrows), 2);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&field), 2);
    const RECT& place = DesignedBounds();
    const auto designed = [dpi](LONG length) { return MulDiv(length, DesignDpi, dpi); };
    arrowsDesigned_.width = designed(arrows.right - arrows.left);
    arrowsDesigned_.overlap = designed(field.right - arrows.left);
    arrowsDesigned_.top = designed(arrows.top - place.top);
    arrowsDesigned_.bottom = designed(place.bottom - arrows.bottom);
}

void SpinEdit::ScaleTo(UINT dpi)
{
    // The arrows stand to the field as the system aligned them at creation, at the density.
    // Either move failing leaves that window where it was, still beside the other.
    const RECT place = ScaleRect(DesignedBounds(), dpi);
    const int arrowsLeft = place.right - Scale(arrowsDesigned_.width, dpi);
    const int arrowsTop = place.top + Scale(arrowsDesigned_.top, dpi);
    const int fieldRight = arrowsLeft + Scale(arrowsDesigned_.overlap, dpi);
    SetWindowPos(Handle(), nullptr, place.left, place.top, fieldRight - place.left, place.bottom - place.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(arrows_.Get(), nullptr, arrowsLeft, arrowsTop, place.right - arrowsLeft,
                 place.bottom - Scale(arrowsDesigned_.bottom, dpi) - arrowsTop, SWP_NOZORDER | SWP_NOACTIVATE);
}

void SpinEdit::MoveRight(int dx)
{
    RECT arrows{};
    if (!GetWindowRect(arrows_.Get(), &arrows))
        throw std::runtime_error(base::SystemErrorText(GetLastError()));
    MapWindowPoints(HWND_DESKTOP, GetParent(Handle()), reinterpret_cast<POINT*>(&arrows), 2);
    Edit::MoveRight(dx);
    // A move the system refuses leaves the arrows where they were, over the field.
    SetWindowPos(arrows_.Get(), nullptr, arrows.left + dx, arrows.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SpinEdit::FitArrows(int right)
{
    // Aligned to the buddy, the arrows overlap its border and stop short of its old right
    // edge; move them to that edge and widen the field after them, so that the two take
    // exactly the width the field was given.
    const HWND parent = GetParent(Handle());
    RECT arrows{};
    RECT field{};
    if (!GetWindowRect(arrows_.Get(), &arrows) || !GetWindowRect(Handle(), &field))
        return; // left as aligned, a pixel or two narrower
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&arrows), 2);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&field), 2);
    const int shift = right - arrows.right;
    if (shift == 0)
        return;
    // Either move failing leaves the pair aligned as the system placed it.
    SetWindowPos(arrows_.Get(), nullptr, arrows.left + shift, arrows.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(Handle(), nullptr, 0, 0, field.right - field.left + shift, field.bottom - field.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int SpinEdit::Clamp(long long value) const noexcept
{
    return static_cast<int>(std::clamp<long long>(value, minValue_, maxValue_));
}

int SpinEdit::Value() const
{
    return TryParseDecimal(Text()).value_or(minValue_);
}

void SpinEdit::SetValue(int value)
{
    SetText(std::to_string(Clamp(value)));
}

void SpinEdit::SetText(const std::string& text)
{
    Edit::SetText(text);
    SyncArrows();
}

void SpinEdit::SetEnabled(bool enabled)
{
    Edit::SetEnabled(enabled);
    EnableWindow(arrows_.Get(), enabled ? TRUE : FALSE); // answers the previous state
}

void SpinEdit::Step(int delta)
{
    SetValue(Clamp(static_cast<long long>(Value()) + delta));
}

void SpinEdit::SyncArrows()
{
    // The arrows' own position follows the text, so they show the ends of the range.
    SendMessageA(arrows_.Get(), UDM_SETPOS32, 0, Clamp(Value()));
}

bool SpinEdit::Accepts(char c) const
{
    return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == decimalSeparator_ ||
           static_cast<unsigned char>(c) < 0x20; // editing keys: backspace, Ctrl+C, Ctrl+V, ...
}

bool SpinEdit::HandleCommand(WORD code)
{
    if (code == EN_KILLFOCUS) {
        const int value = Value();
        if (Clamp(value) != value)
            SetValue(value);
        return true;
    }
    if (code == EN_CHANGE)
        SyncArrows();
    return Edit::HandleCommand(code);
}

bool SpinEdit::HandleNotify(const NMHDR& header, LRESULT& result)
{
    if (header.hwndFrom != arrows_.Get() || header.code != UDN_DELTAPOS)
        return false;
    const auto& change = reinterpret_cast<const NMUPDOWN&>(header);
    if (change.iDelta != 0)
        Step(change.iDelta > 0 ? 1 : -1);
    result = 1; // the step is taken here; the arrows follow through SyncArrows
    return true;
}

int SpinEdit::ArrowAt(POINT point) const
{
    RECT area{};
    if (!GetClientRect(arrows_.Get(), &area) || !PtInRect(&area, point))
        return 0;
    return point.y < (area.bottom - area.top) / 2 ? 1 : -1;
}

LRESULT SpinEdit::FilterArrows(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        // The arrows take the first step and capture the mouse; the repeat is ours.
        const LRESULT result = PassOn(arrows_.Get(), message, wParam, lParam);
        const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        heldArrow_ = GetCapture() == arrows_.Get() ? ArrowAt(point) : 0;
        if (heldArrow_ && !SetTimer(arrows_.Get(), kRepeatTimer, kFirstRepeat, nullptr))
            heldArrow_ = 0; // no timer left: the click still stepped once
        return result;
    }
    case WM_TIMER:
        if (wParam == kRepeatTimer) {
            POINT cursor{};
            // While the pointer is off the held arrow, the repeat pauses.
            if (GetCursorPos(&cursor) && ScreenToClient(arrows_.Get(), &cursor) && ArrowAt(cursor) == heldArrow_)
                Step(heldArrow_);
            if (!SetTimer(arrows_.Get(), kRepeatTimer, kNextRepeat, nullptr))
                heldArrow_ = 0;
            return 0;
        }
        if (heldArrow_)
            return 0; // the arrows' own repeat, replaced by ours
        break;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
        if (heldArrow_) {
            KillTimer(arrows_.Get(), kRepeatTimer); // fails only when it already stopped
            heldArrow_ = 0;
        }
        break;
    default:
        break;
    }
    return PassOn(arrows_.Get(), message, wParam, lParam);
}

LRESULT SpinEdit::Filter(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (hwnd == arrows_.Get())
        return FilterArrows(message, wParam, lParam);
    switch (message) {
    case WM_CHAR:
        if (!Accepts(static_cast<char>(wParam))) {
            MessageBeep(MB_OK); // the beep is a courtesy; nothing to do when it fails
            return 0;
        }
        break;
    case WM_KEYDOWN:
        if (wParam == VK_UP || wParam == VK_DOWN) {
            Step(wParam == VK_UP ? 1 : -1);
            return 0;
        }
        break;
    case WM_MOUSEWHEEL: {
        // A step for each turn of at least one notch, as the arrows take it; with Shift or
        // Ctrl held the turn means something else. The field sees the turn as well.
        const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
        if (notches != 0 && (GET_KEYSTATE_WPARAM(wParam) & (MK_SHIFT | MK_CONTROL)) == 0)
            Step(notches > 0 ? 1 : -1);
        break;
    }
    default:
        break;
    }
    return PassOn(hwnd, message, wParam, lParam);
}

} // namespace toolkit
