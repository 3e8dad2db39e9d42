#include "ui/PasteHotKey.h"

#include "base/SystemError.h"
#include "toolkit/HotKeyField.h"
#include "toolkit/MessageDialogs.h"
#include "ui/Reports.h"

std::optional<std::string> PasteHotKeyRefusal(WORD value)
{
    if (!toolkit::IsSystemEditingKey(value))
        return std::nullopt;
    return toolkit::HotKeyText(value) + " is the system's own key for editing. Choose another hot key.";
}

PasteHotKey::PasteHotKey(HWND form, Reports& reports) : form_(form), reports_(reports) {}

PasteHotKey::~PasteHotKey()
{
    Register(0);
}

std::optional<std::string> PasteHotKey::Register(WORD value)
{
    if (registered_ != 0) {
        // Fails only when it is not held, which registered_ rules out.
        UnregisterHotKey(form_, Id);
        registered_ = 0;
    }
    if (LOBYTE(value) == 0)
        return std::nullopt;
    if (std::optional<std::string> refusal = PasteHotKeyRefusal(value))
        return refusal;
    // Held down, the combination must not paste again and again.
    if (RegisterHotKey(form_, Id, toolkit::HotKeyModifiers(value) | MOD_NOREPEAT, LOBYTE(value))) {
        registered_ = value;
        return std::nullopt;
    }
    const DWORD error = GetLastError();
    const std::string name = toolkit::HotKeyText(value);
    if (error == ERROR_HOTKEY_ALREADY_REGISTERED)
        return name + " is already used by another program. Choose another hot key.";
    return name + " cannot be used as a hot key: " + base::SystemErrorText(error);
}

void PasteHotKey::Start(WORD value)
{
    const std::optional<std::string> failure = Register(value);
    if (!failure || !reports_.ErrorBalloonsOn())
        return;
    // Queued after the icon's own way into the tray, which a balloon needs.
    startFailure_.emplace([this, text = *failure] { reports_.ErrorBalloon("Paste hot key:", text); });
}

void PasteHotKey::Choose(WORD value)
{
    if (value == registered_ && value != 0)
        return;
    if (const std::optional<std::string> failure = Register(value))
        toolkit::ShowErrorDialog(toolkit::ShownOwner(form_), *failure);
}
