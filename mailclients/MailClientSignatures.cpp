#include "mailclients/MailClientSignatures.h"

#include "base/UserFolders.h"

namespace mailclients {

MailClientPlaces MailClientPlacesOfThisUser()
{
    MailClientPlaces places;
    // Without a roaming application data folder there is nowhere to look.
    places.appData = base::RoamingAppDataFolder();
    return places;
}

MailClientSearch FindMailClientSignatures(const MailClientPlaces& places)
{
    MailClientSearch search;
    const OutlookRoots outlook{places.officeRoot, places.machineRoot};
    search.roaming = RoamingSignaturesOf(outlook);
    search.newOutlook = NewOutlookInUse(outlook);
    // An empty folder would make the paths below start at the current drive's root.
    if (!places.appData.empty()) {
        FindThunderbirdSignatures(places.appData, search);
        FindOutlookSignatures(places.appData, places.officeRoot, search);
    }
    // Outlook's switch is there for every user, but only a mailbox keeps signatures: an
    // Outlook bought outright with POP3 or IMAP accounts never replaces a file.
    const bool switchedOn =
        search.roaming == RoamingSignatures::On || search.roaming == RoamingSignatures::KeptOnByPolicy;
    if (switchedOn && !search.mailboxSignaturesNamed && !ExchangeAccountInProfiles(outlook))
        search.roaming = RoamingSignatures::NoMailboxAccount;
    return search;
}

std::string MailClientLine(const MailClientSignature& signature)
{
    std::string line = signature.client + " - ";
    if (!signature.mailbox.empty())
        line += signature.mailbox + " - ";
    line += signature.name + " - ";
    if (signature.client == "Thunderbird")
        line += signature.fileSignatureOn ? "file signature on - " : "file signature off - ";
    if (signature.path.empty())
        return line + "unusable: its path has characters this system's code page cannot hold";
    return line + signature.path;
}

std::vector<std::string> OutlookNoteLines(const MailClientSearch& search)
{
    std::vector<std::string> lines;
    if (const std::string roaming = RoamingSignaturesLine(search.roaming); !roaming.empty())
        lines.push_back(roaming);
    if (search.newOutlook)
        lines.push_back(NewOutlookLine);
    return lines;
}

std::vector<std::string> ThunderbirdSignatureFiles(const MailClientPlaces& places)
{
    std::vector<std::string> files;
    if (places.appData.empty())
        return files;
    MailClientSearch search;
    FindThunderbirdSignatures(places.appData, search);
    for (const MailClientSignature& signature : search.found) {
        if (!signature.path.empty())
            files.push_back(signature.path);
    }
    return files;
}

std::string NothingFoundLine(const MailClientSearch& search)
{
    std::string line = "No mail client's signature file found";
    if (!search.lookedIn.empty())
        line += "; looked in ";
    for (std::size_t i = 0; i < search.lookedIn.size(); ++i)
        line += (i == 0 ? "" : i + 1 == search.lookedIn.size() ? " and " : ", ") + search.lookedIn[i];
    return line;
}

} // namespace mailclients
