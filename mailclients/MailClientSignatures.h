#pragma once
#include "mailclients/OutlookSettings.h"

#include <windows.h>

#include <string>
#include <vector>

// The signature files this user's mail clients read, found where the clients keep their own
// settings, so that a user can point the program at one without knowing where it lives.
// Everything here only reads; nothing of the mail clients is changed (the one switch of
// Outlook's that the user may turn from here is in OutlookSettings.h).
namespace mailclients {

// One signature file a mail client reads.
struct MailClientSignature {
    std::string client; // "Thunderbird" or "Outlook"
    // Thunderbird: the identity's address, or its id when it has none; Outlook: the
    // signature's name, without the mailbox a roaming one's file name adds.
    std::string name;
    // Thunderbird's own switch for taking the signature from the file; Outlook always does.
    bool fileSignatureOn = true;
    // The full path, or empty when the file's path has characters the ANSI code page
    // cannot hold: such a file cannot be named here without naming another.
    std::string path;
    // Outlook: the mailbox of a signature named as roaming signatures are,
    // "Work (me@example.com)"; empty for any other.
    std::string mailbox{};

    bool operator==(const MailClientSignature&) const = default;
};

// Where to look: the roaming application data folder (%APPDATA%) and the root of the key
// under which Outlook names its signatures folder.
struct MailClientPlaces {
    std::string appData; // without a trailing backslash
    HKEY officeRoot = HKEY_CURRENT_USER;
    HKEY machineRoot = HKEY_LOCAL_MACHINE; // where policies and machine-wide values live
};
MailClientPlaces MailClientPlacesOfThisUser();

struct MailClientSearch {
    std::vector<MailClientSignature> found;
    // The files and folders looked in, for the user who finds nothing.
    std::vector<std::string> lookedIn;
    // What Outlook's settings say of its signature files.
    RoamingSignatures roaming = RoamingSignatures::NoOutlook;
    // Outlook's folder holds a signature named for a mailbox, "Work (me@example.com).htm", as
    // Outlook names the ones it keeps in the mailbox.
    bool mailboxSignaturesNamed = false;
    bool newOutlook = false;
};

// Thunderbird's first, by profile in the order of profiles.ini and by identity in the order of
// prefs.js; then Outlook's, by folder and by name. Roaming signatures are said to be on only
// where they can be: an Exchange account in one of Outlook's mail profiles, or a signature named
// for a mailbox; else the search's roaming is NoMailboxAccount.
MailClientSearch FindMailClientSignatures(const MailClientPlaces& places = MailClientPlacesOfThisUser());

// Thunderbird: every identity with a signature file (mail.identity.<id>.sig_file) in the
// prefs.js of every profile that profiles.ini in %APPDATA%\Thunderbird lists.
void FindThunderbirdSignatures(const std::string& appData, MailClientSearch& search);

// Outlook: the signatures folder that Outlook's registry setting names (it is localized in
// some languages), else %APPDATA%\Microsoft\Signatures; each base name with a .htm, .txt or
// .rtf file there is one signature, offered by its .htm, else by its .txt, else its .rtf. A
// base name "Name (address)" is signature "Name" of mailbox "address".
void FindOutlookSignatures(const std::string& appData, HKEY officeRoot, MailClientSearch& search);

// The line a list shows for a signature file, such as
// "Thunderbird - me@example.com - file signature on - C:\Users\me\sig.txt" or
// "Outlook - me@example.com - Work - C:\Users\me\...\Work (me@example.com).htm".
std::string MailClientLine(const MailClientSignature& signature);

// The lines that say what Outlook does besides reading the files listed: roaming signatures
// and the new Outlook; none when there is nothing to say.
std::vector<std::string> OutlookNoteLines(const MailClientSearch& search);

// The signature files Thunderbird's identities name, whether their file signature is on or
// not: the signature writer writes these so that Thunderbird finds the "-- " line in them
// (engine/WriterSettings.h).
std::vector<std::string> ThunderbirdSignatureFiles(const MailClientPlaces& places = MailClientPlacesOfThisUser());

// The one line shown when nothing was found, saying where the search looked.
std::string NothingFoundLine(const MailClientSearch& search);

} // namespace mailclients
