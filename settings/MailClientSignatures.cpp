#include "settings/MailClientSignatures.h"

#include <shlobj.h>

namespace settings {

MailClientPlaces MailClientPlacesOfThisUser()
{
    MailClientPlaces places;
    char appData[MAX_PATH] = {};
    // Without a roaming application data folder there is nowhere to look; the search then
    // looks at paths that do not exist and finds nothing.
    if (SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData)))
        places.appData = appData;
    if (!places.appData.empty() && places.appData.back() == '\\')
        places.appData.pop_back();
    return places;
}

MailClientSearch FindMailClientSignatures(const MailClientPlaces& places)
{
    MailClientSearch search;
    FindThunderbirdSignatures(places.appData, search);
    FindOutlookSignatures(places.appData, places.officeRoot, search);
    return search;
}

std::string MailClientLine(const MailClientSignature& signature)
{
    std::string line = signature.client + " - " + signature.name + " - ";
    if (signature.client == "Thunderbird")
        line += signature.fileSignatureOn ? "file signature on - " : "file signature off - ";
    if (signature.path.empty())
        return line + "unusable: its path has characters this system's code page cannot hold";
    return line + signature.path;
}

std::string NothingFoundLine(const MailClientSearch& search)
{
    std::string line = "No mail client's signature file found; looked in ";
    for (std::size_t i = 0; i < search.lookedIn.size(); ++i)
        line += (i == 0 ? "" : i + 1 == search.lookedIn.size() ? " and " : ", ") + search.lookedIn[i];
    return line;
}

} // namespace settings
