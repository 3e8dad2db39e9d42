#include "mailclients/OutlookSettings.h"

#include "base/Handles.h"

#include <optional>

namespace mailclients {

namespace {

constexpr const char* OutlookKey = "Software\\Microsoft\\Office\\16.0\\Outlook";
constexpr const char* SetupKey = "Software\\Microsoft\\Office\\16.0\\Outlook\\Setup";
constexpr const char* PolicySetupKey = "Software\\Policies\\Microsoft\\Office\\16.0\\Outlook\\Setup";
constexpr const char* PreferencesKey = "Software\\Microsoft\\Office\\16.0\\Outlook\\Preferences";
constexpr const char* RoamingToggle = "DisableRoamingSignaturesTemporaryToggle";

// A DWORD value, or nothing when the key or the value is missing, cannot be read or is of
// another type: Outlook, too, goes by its default then.
std::optional<DWORD> DwordValue(HKEY root, const char* key, const char* name)
{
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueA(root, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

bool KeyExists(HKEY root, const char* key)
{
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
        return false; // a key that cannot be opened tells nothing of an Outlook
    const base::RegistryKey closing(opened);
    return true;
}

} // namespace

RoamingSignatures RoamingSignaturesOf(const OutlookRoots& roots)
{
    if (!KeyExists(roots.user, OutlookKey))
        return RoamingSignatures::NoOutlook;
    for (const auto& [root, key] : {std::pair{roots.user, PolicySetupKey}, std::pair{roots.machine, PolicySetupKey},
                                    std::pair{roots.machine, SetupKey}}) {
        if (const std::optional<DWORD> toggle = DwordValue(root, key, RoamingToggle))
            return *toggle != 0 ? RoamingSignatures::Off : RoamingSignatures::KeptOnByPolicy;
    }
    const std::optional<DWORD> own = DwordValue(roots.user, SetupKey, RoamingToggle);
    return own && *own != 0 ? RoamingSignatures::Off : RoamingSignatures::On;
}

bool NewOutlookInUse(const OutlookRoots& roots)
{
    return DwordValue(roots.user, PreferencesKey, "UseNewOutlook") == DWORD{1};
}

LSTATUS LetOutlookUseTheFiles(const OutlookRoots& roots)
{
    HKEY created = nullptr;
    const LSTATUS opened =
        RegCreateKeyExA(roots.user, SetupKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &created, nullptr);
    if (opened != ERROR_SUCCESS)
        return opened;
    const base::RegistryKey setup(created);
    const DWORD off = 1;
    return RegSetValueExA(setup.Get(), RoamingToggle, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&off), sizeof off);
}

std::string RoamingSignaturesLine(RoamingSignatures roaming)
{
    constexpr const char* Roaming = "Outlook keeps these signatures in the mailbox and may replace Varnquill's changes.";
    switch (roaming) {
    case RoamingSignatures::On: return Roaming;
    case RoamingSignatures::KeptOnByPolicy:
        return std::string(Roaming) + " An administrator's policy keeps it so.";
    case RoamingSignatures::NoOutlook:
    case RoamingSignatures::Off: break;
    }
    return {};
}

} // namespace mailclients
