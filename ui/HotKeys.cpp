#include "ui/HotKeys.h"

#include "base/SystemError.h"
#include "toolkit/HotKeyField.h"
#include "toolkit/MessageDialogs.h"
#include "ui/Reports.h"

#include <utility>

std::optional<std::string> PasteHotKeyRefusal(WORD value)
{
    if (!toolkit::IsSystemEditingKey(value))
        return std::nullopt;
    return toolkit::HotKeyText(value) + " is the system's own key for editing. Choose another hot key.";
}

HotKeys::HotKeys(HWND form, Reports& reports) : form_(form), reports_(reports) {}

HotKeys::~HotKeys()
{
    for (Entry& entry : entries_)
        Register(entry, 0);
}

int HotKeys::Add(std::string title, Action action)
{
    // Identifiers from 1: the system keeps 0xC000 and above for shared libraries.
    const int id = static_cast<int>(entries_.size()) + 1;
    entries_.emplace_back(id, std::move(title), std::move(action));
    return id;
}

HotKeys::Entry* HotKeys::Find(WPARAM id) noexcept
{
    for (Entry& entry : entries_)
        if (static_cast<WPARAM>(entry.id) == id)
            return &entry;
    return nullptr;
}

const HotKeys::Entry* HotKeys::Find(WPARAM id) const noexcept
{
    return const_cast<HotKeys*>(this)->Find(id);
}

std::optional<std::string> HotKeys::Register(Entry& entry, WORD value)
{
    if (entry.registered != 0) {
        // Fails only when it is not held, which registered rules out.
        UnregisterHotKey(form_, entry.id);
        entry.registered = 0;
    }
    if (LOBYTE(value) == 0)
        return std::nullopt;
    if (std::optional<std::string> refusal = PasteHotKeyRefusal(value))
        return refusal;
    // Held down, the combination must not run again and again.
    if (RegisterHotKey(form_, entry.id, toolkit::HotKeyModifiers(value) | MOD_NOREPEAT, LOBYTE(value))) {
        entry.registered = value;
        return std::nullopt;
    }
    const DWORD error = GetLastError();
    const std::string name = toolkit::HotKeyText(value);
    if (error == ERROR_HOTKEY_ALREADY_REGISTERED)
        return name + " is already used by another program. Choose another hot key.";
    return name + " cannot be used as a hot key: " + base::SystemErrorText(error);
}

void HotKeys::Start(int id, WORD value)
{
    Entry* entry = Find(static_cast<WPARAM>(id));
    if (!entry)
        return;
    const std::optional<std::string> failure = Register(*entry, value);
    if (!failure || !reports_.ErrorBalloonsOn())
        return;
    // Queued after the icon's own way into the tray, which a balloon needs.
    entry->startFailure.emplace(
        [this, title = entry->title, text = *failure] { reports_.ErrorBalloon(title, text); });
}

void HotKeys::Choose(int id, WORD value)
{
    Entry* entry = Find(static_cast<WPARAM>(id));
    if (!entry || (value == entry->registered && value != 0))
        return;
    if (const std::optional<std::string> failure = Register(*entry, value))
        toolkit::ShowErrorDialog(toolkit::ShownOwner(form_), *failure);
}

bool HotKeys::Pressed(WPARAM id)
{
    Entry* entry = Find(id);
    if (!entry)
        return false;
    if (entry->registered != 0 && entry->action) {
        const Action action = entry->action; // the action may change the table
        action(entry->registered);
    }
    return true;
}

WORD HotKeys::Registered(int id) const noexcept
{
    const Entry* entry = Find(static_cast<WPARAM>(id));
    return entry ? entry->registered : 0;
}
