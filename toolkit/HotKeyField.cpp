#include "toolkit/HotKeyField.h"

#include <commctrl.h>

namespace toolkit {

namespace {

// The key's own name as the keyboard layout gives it ("S", "F8", "Page Down").
std::string KeyName(BYTE virtualKey, bool extended)
{
    if ((virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z'))
        return std::string(1, static_cast<char>(virtualKey));
    LONG scanCode = static_cast<LONG>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    if (extended)
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
    shownValue_ = Value();
    Subclass(Handle());
}

LRESULT HotKeyField::Filter(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The control's own answer to these keys differs between systems; here they clear it,
    // as the user's change.
    const auto down = [](int key) { return (GetKeyState(key) & 0x8000) != 0; };
    if (message == WM_KEYDOWN && (wParam == VK_BACK || wParam == VK_DELETE) && !down(VK_CONTROL) &&
        !down(VK_SHIFT) && !down(VK_MENU)) {
        SendMessageA(hwnd, HKM_SETHOTKEY, 0, 0);
        HandleCommand(EN_CHANGE);
        return 0;
    }
    // The character a Backspace also makes is no key of a combination (Wine's field takes it
    // for one).
    if (message == WM_CHAR && (wParam == '\b' || wParam == 0x7F))
        return 0;
    return Control::Filter(hwnd, message, wParam, lParam);
}

WORD HotKeyField::Value() const
{
    return LOWORD(SendMessageA(Handle(), HKM_GETHOTKEY, 0, 0));
}

void HotKeyField::SetValue(WORD value)
{
    if (Value() == value)
        return;
    SendMessageA(Handle(), HKM_SETHOTKEY, value, 0);
    shownValue_ = Value();
    Raise(OnChange, *this);
}

bool HotKeyField::HandleCommand(WORD code)
{
    if (code != EN_CHANGE)
        return false;
    const WORD value = Value();
    if (value != shownValue_) {
        shownValue_ = value;
        Raise(OnChange, *this);
    }
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

} // namespace toolkit
