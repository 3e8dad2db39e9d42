#pragma once
#include <windows.h>

#include <string>

// What Outlook's own settings say about reading the signature files: whether it keeps the
// signatures in the mailbox instead (roaming signatures, which may replace a rewritten file
// with the mailbox's copy) and whether the new Outlook, which reads no file at all, is in use.
// Every value is read as "not set" when its key or value cannot be read, so nothing here ever
// fails the search.
namespace mailclients {

enum class RoamingSignatures {
    NoOutlook,      // no Outlook 2016 or later for this user: nothing to say
    Off,            // switched off: Outlook reads the files for each new message
    On,             // on, and the user may switch it off
    KeptOnByPolicy, // on, and an administrator's value keeps it so
    // On as far as the switch goes, but no account keeps its mail in an Exchange or Microsoft
    // 365 mailbox, where alone signatures roam: nothing to say
    NoMailboxAccount,
};

// Where Outlook's values live: the user's root (HKEY_CURRENT_USER) and the machine's.
struct OutlookRoots {
    HKEY user = HKEY_CURRENT_USER;
    HKEY machine = HKEY_LOCAL_MACHINE;
};

// DisableRoamingSignaturesTemporaryToggle under Software\Microsoft\Office\16.0\Outlook\Setup:
// a policy's value (Software\Policies\..., the user's before the machine's) holds above the
// machine's own, which holds above the user's.
RoamingSignatures RoamingSignaturesOf(const OutlookRoots& roots = {});

// One of the mail profiles of Outlook 2016 or later (the subkeys of
// Software\Microsoft\Office\16.0\Outlook\Profiles) holds an Exchange account, Microsoft 365's
// among them: the accounts that keep signatures in the mailbox. Profiles and accounts that
// cannot be read count as none.
bool ExchangeAccountInProfiles(const OutlookRoots& roots = {});

// The new Outlook for Windows is this user's Outlook (Preferences\UseNewOutlook = 1).
bool NewOutlookInUse(const OutlookRoots& roots = {});

// Switches roaming signatures off for this user alone: the user's toggle = 1, nothing else.
// Answers ERROR_SUCCESS or the registry's error.
LSTATUS LetOutlookUseTheFiles(const OutlookRoots& roots = {});

// The line the mail clients' list shows under Outlook's signatures, or empty when there is
// nothing to say.
std::string RoamingSignaturesLine(RoamingSignatures roaming);
// The line for the new Outlook, which no signature file serves.
inline constexpr const char* NewOutlookLine =
    "Outlook (new) - signatures live in the mailbox: use Copy signature or the paste hot key";

} // namespace mailclients
