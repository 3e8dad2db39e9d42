#include "mailclients/OutlookSettings.h"

#include "base/AsciiText.h"
#include "base/Handles.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

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

// Only the Outlook that has roaming signatures matters: Outlook 2016 and later keep their mail
// profiles here. Older ones kept them under Office\15.0\Outlook\Profiles (2013) or Windows
// NT\CurrentVersion\Windows Messaging Subsystem\Profiles (2010 and before); they never
// roam signatures, and a newer Outlook copies such a profile into its own key when it first
// opens it.
constexpr const wchar_t* ProfilesKey = L"Software\\Microsoft\\Office\\16.0\\Outlook\\Profiles";
// The section of a profile that lists its accounts, one subkey each.
constexpr const wchar_t* AccountsSection = L"9375CFF0413111d3B88A00104B2A6676";
// An account's kind is the class its "clsid" value names. Microsoft's documentation of
// Outlook's Account Management API ("Constants (Account management API)") lists them:
// CLSID_OlkPOP3Account {ED475411-...}, CLSID_OlkIMAP4Account {ED475412-...},
// CLSID_OlkHotmailAccount {4DB5CBF0-3B77-4852-BC8E-BB81908861F3} (Exchange ActiveSync, such
// as Outlook.com's), CLSID_OlkLDAPAccount {4DB5CBF2-3B77-4852-BC8E-BB81908861F3}, and
// CLSID_OlkMAPIAccount, an account of a MAPI service: the Exchange account, and also the
// profile's data files and address books.
constexpr std::wstring_view MapiAccountClass = L"{ED475414-B0D6-11D2-8C3B-00104B2A6676}";
// What a MAPI account's service is (PR_SERVICE_NAME, MAPI's property 0x3D09, in the profile's
// section of the service: "001f3d09" as UTF-16, "001e3d09" as ANSI): a data file's or an
// address book's are no mailbox. Every other, the Exchange service "MSEMS" first, is taken for
// one, so that a mailbox of a service not named here is still warned of.
constexpr std::wstring_view NoMailboxServices[] = {L"MSUPST MS", L"MSPST MS", L"MSPST AB", L"CONTAB", L"EMABLT"};

// A value's type and bytes, or nothing when it cannot be read.
struct RegistryValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
};
std::optional<RegistryValue> ReadValue(HKEY root, const std::wstring& key, const wchar_t* name)
{
    RegistryValue value;
    DWORD size = 0;
    constexpr DWORD Flags = RRF_RT_ANY | RRF_NOEXPAND;
    if (RegGetValueW(root, key.c_str(), name, Flags, &value.type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.bytes.resize(size);
    if (RegGetValueW(root, key.c_str(), name, Flags, &value.type, value.bytes.data(), &size) != ERROR_SUCCESS)
        return std::nullopt; // changed between the two calls: as good as unreadable
    value.bytes.resize(size);
    return value;
}

// The text a value holds, up to its NUL: a string, or bytes that hold one, as Outlook writes its
// profiles' texts (UTF-16, or single bytes, told by the first character's high byte).
std::wstring TextOf(const RegistryValue& value)
{
    std::wstring text;
    const std::vector<BYTE>& bytes = value.bytes;
    if (value.type == REG_SZ || value.type == REG_EXPAND_SZ ||
        (value.type == REG_BINARY && bytes.size() >= 2 && bytes[1] == 0)) {
        text.resize(bytes.size() / sizeof(wchar_t));
        std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
    } else if (value.type == REG_BINARY) {
        text.assign(bytes.begin(), bytes.end()); // ASCII names; nothing else is compared
    }
    return text.substr(0, text.find(L'\0'));
}

// Calls found with the name of each subkey of the key until it answers true; answers whether
// it did. A key that cannot be opened has none.
bool AnySubkey(HKEY root, const std::wstring& key, const std::function<bool(const std::wstring&)>& found)
{
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_ENUMERATE_SUB_KEYS, &opened) != ERROR_SUCCESS)
        return false;
    const base::RegistryKey closing(opened);
    std::array<wchar_t, 256> name{}; // the longest key name the registry allows, and its NUL
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(name.size());
        const LSTATUS status = RegEnumKeyExW(opened, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (status != ERROR_SUCCESS)
            return false; // the end, or a listing that cannot go on: what was read is all
        if (found(std::wstring(name.data(), length)))
            return true;
    }
}

// The name of the service an account belongs to: its "Service UID" names the profile's
// section of the service by its 16 bytes in hexadecimal.
std::optional<std::wstring> ServiceName(HKEY root, const std::wstring& profile, const std::wstring& account)
{
    const std::optional<RegistryValue> uid = ReadValue(root, account, L"Service UID");
    if (!uid || uid->type != REG_BINARY || uid->bytes.size() != 16)
        return std::nullopt;
    std::wstring section = profile + L"\\";
    for (const BYTE b : uid->bytes) {
        section += L"0123456789abcdef"[b >> 4];
        section += L"0123456789abcdef"[b & 0xF];
    }
    for (const wchar_t* property : {L"001f3d09", L"001e3d09"}) {
        if (const std::optional<RegistryValue> name = ReadValue(root, section, property))
            return TextOf(*name);
    }
    return std::nullopt;
}

bool IsExchangeAccount(HKEY root, const std::wstring& profile, const std::wstring& account)
{
    const std::optional<RegistryValue> kind = ReadValue(root, account, L"clsid");
    if (!kind || !base::AsciiEqualNoCase(TextOf(*kind), MapiAccountClass))
        return false;
    const std::optional<std::wstring> service = ServiceName(root, profile, account);
    return !service || std::none_of(std::begin(NoMailboxServices), std::end(NoMailboxServices),
                                    [&](std::wstring_view other) { return base::AsciiEqualNoCase(*service, other); });
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

bool ExchangeAccountInProfiles(const OutlookRoots& roots)
{
    return AnySubkey(roots.user, ProfilesKey, [&](const std::wstring& name) {
        const std::wstring profile = std::wstring(ProfilesKey) + L"\\" + name;
        const std::wstring accounts = profile + L"\\" + AccountsSection;
        return AnySubkey(roots.user, accounts, [&](const std::wstring& account) {
            return IsExchangeAccount(roots.user, profile, accounts + L"\\" + account);
        });
    });
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
    case RoamingSignatures::Off:
    case RoamingSignatures::NoMailboxAccount: break;
    }
    return {};
}

} // namespace mailclients
