#include "toolkit/HotKeyField.h"

#include <commctrl.h>

namespace toolkit {

namespace {

bool KeyDown(int key)
{
    return (GetKeyState(key) & 0x8000) != 0;
}

bool ModifierDown()
{
    return KeyDown(VK_SHIFT) || KeyDown(VK_CONTROL) || KeyDown(VK_MENU);
}

// The keys of the block between the letters and the number pad, which the number pad repeats
// with Num Lock off: the key's code already says which it is, so it is named as the block's
// key whether the field marked it extended or not (Wine's field never does).
bool NavigationKey(BYTE virtualKey)
{
    switch (virtualKey) {
    case VK_INSERT:
    case VK_DELETE:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        return true;
    default:
        return false;
    }
}

// The key's own name as the keyboard layout gives it ("S", "F8", "Page Down").
std::string KeyName(BYTE virtualKey, bool extended)
{
    if ((virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z'))
        return std::string(1, static_cast<char>(virtualKey));
    LONG scanCode = static_cast<LONG>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    if (extended || NavigationKey(virtualKey))
        scanCode |= 1 << 24;
    char name[64] = {};
    if (scanCode != 0 && GetKeyNameTextA(scanCode, name, sizeof name) > 0)
        return name;
    // A key the layout has no name for is still told apart by its number.
    return "Key " + std::to_string(virtualKey);
}

} // namespace

HotKeyField::HotKeyField(const ControlArgs& args)
    : Control(CommonControlClass(ICC_HOTKEY_CLASS, HOTKEY_CLASSA), args, 0, WS_EX_CLIENTEDGE)
{
    // A key alone or with Shift only becomes Ctrl+Alt and the key.
    SendMessageA(Handle(), HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
    held_ = Shown();
    Subclass(Handle());
}

LRESULT HotKeyField::Filter(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The control's own answer to these keys differs between systems; here they clear it,
    // as the user's change.
    if (message == WM_KEYDOWN && (wParam == VK_BACK || wParam == VK_DELETE) && !ModifierDown()) {
        SendMessageA(hwnd, HKM_SETHOTKEY, 0, 0);
        Take(0);
        return 0;
    }
    // The character a key also makes is no key of a combination: Wine's field takes it for
    // one more press, of the key its scan code maps back to (for a refused Ctrl+V, Ctrl+V
    // again; for a Backspace, Ctrl+Alt and a media key).
    if (message == WM_CHAR || message == WM_SYSCHAR)
        return 0;
    if (message == WM_SETFOCUS)
        ForgetReleasedModifiers();
    const LRESULT result = Control::Filter(hwnd, message, wParam, lParam);
    // A modifier, Space or Escape leaves the control showing the modifiers alone or "None",
    // which is no value; the held one comes back once no modifier is down or the focus left.
    const bool key = message >= WM_KEYFIRST && message <= WM_KEYLAST;
    if (message == WM_KILLFOCUS || (key && !ModifierDown()))
        ShowHeld();
    return result;
}

void HotKeyField::ForgetReleasedModifiers()
{
    constexpr LPARAM KeyUpFlags = 0xC0000001; // released, was down, one press
    for (const int modifier : {VK_SHIFT, VK_CONTROL, VK_MENU}) {
        if (!KeyDown(modifier))
            PassOn(Handle(), WM_KEYUP, modifier, KeyUpFlags);
    }
}

WORD HotKeyField::Value() const
{
    return held_;
}

void HotKeyField::SetValue(WORD value)
{
    SendMessageA(Handle(), HKM_SETHOTKEY, value, 0);
    Take(value);
}

void HotKeyField::Take(WORD value)
{
    if (value == held_)
        return;
    held_ = value;
    Raise(OnChange, *this);
}

WORD HotKeyField::Shown() const
{
    return LOWORD(SendMessageA(Handle(), HKM_GETHOTKEY, 0, 0));
}

void HotKeyField::ShowHeld()
{
    if (Shown() != held_)
        SendMessageA(Handle(), HKM_SETHOTKEY, held_, 0);
}

bool HotKeyField::HandleCommand(WORD code)
{
    if (code != EN_CHANGE)
        return false;
    const WORD value = Shown();
    // Modifiers alone are no combination yet: Filter shows the held one again.
    if (LOBYTE(value) == 0 || value == held_)
        return true;
    const HotKeyCheck check = OnChanging; // the check may reassign the event
    if (check && !check(*this, value)) {
        ShowHeld();
        return true;
    }
    Take(value);
    return true;
}

std::string HotKeyText(WORD value)
{
    const BYTE key = LOBYTE(value);
    const BYTE flags = HIBYTE(value);
    if (key == 0)
        return {};
    std::string text;
    if (flags & HOTKEYF_CONTROL)
        text += "Ctrl+";
    if (flags & HOTKEYF_SHIFT)
        text += "Shift+";
    if (flags & HOTKEYF_ALT)
        text += "Alt+";
    return text + KeyName(key, (flags & HOTKEYF_EXT) != 0);
}

UINT HotKeyModifiers(WORD value)
{
    const BYTE flags = HIBYTE(value);
    UINT modifiers = 0;
    if (flags & HOTKEYF_CONTROL)
        modifiers |= MOD_CONTROL;
    if (flags & HOTKEYF_SHIFT)
        modifiers |= MOD_SHIFT;
    if (flags & HOTKEYF_ALT)
        modifiers |= MOD_ALT;
    return modifiers;
}

bool IsSystemEditingKey(WORD value)
{
    // Whether the key came from the number pad or its own block makes no difference.
    const BYTE modifiers = HIBYTE(value) & (HOTKEYF_CONTROL | HOTKEYF_SHIFT | HOTKEYF_ALT);
    switch (LOBYTE(value)) {
    case 'A':
    case 'C':
    case 'V':
    case 'X':
    case 'Y':
    case 'Z':
        return modifiers == HOTKEYF_CONTROL;
    case VK_INSERT:
        return modifiers == HOTKEYF_CONTROL || modifiers == HOTKEYF_SHIFT;
    case VK_DELETE:
        return modifiers == HOTKEYF_SHIFT;
    default:
        return false;
    }
}

} // namespace toolkit
