#include "ui/FirstRun.h"

#include "base/FileExists.h"
#include "base/PathParts.h"
#include "engine/ReportSink.h"
#include "mailclients/MailClientSignatures.h"
#include "settings/FirstStart.h"
#include "settings/ProgramLocation.h"
#include "settings/SettingsPlaces.h"
#include "settings/SideFiles.h"
#include "base/SystemError.h"
#include "ui/ProgramServices.h"
#include "ui/SettingsPanel.h"

#include <algorithm>
#include <stdexcept>

namespace {

constexpr UINT OfferMailClientsMessage = WM_APP + 40;
constexpr const char* StarterErrorTitle = "Starter signatures:";

// The user's own copy of the starter collection, copied there when missing: its path.
std::string StarterCopy(const settings::SettingsPlaces& places)
{
    const std::string shipped = base::JoinPath(settings::ProgramDirectory(), settings::StarterCollectionFileName);
    if (!base::FileExists(shipped))
        throw std::runtime_error("\"" + shipped + "\" is missing.");
    if (!places.SideFilesPerUser())
        return shipped;
    places.SideFileToSave(settings::DatabaseListFileName); // makes the user's folder when it is missing
    const std::string copy = base::JoinPath(places.SideFileFolder(), settings::StarterCollectionFileName);
    // An earlier copy is the user's own, perhaps edited: it stays as it is.
    if (!CopyFileA(shipped.c_str(), copy.c_str(), TRUE)) {
        const DWORD failure = GetLastError();
        if (failure != ERROR_FILE_EXISTS)
            throw std::runtime_error("\"" + shipped + "\" cannot be copied to \"" + copy +
                                     "\": " + base::SystemErrorText(failure));
    }
    return copy;
}

} // namespace

void FirstRun::Run(ProgramServices& services, ReportSink& reports, HWND form, bool minimised)
{
    const settings::SettingsPlaces* places = services.Store().Places();
    if (!places || !settings::IsFirstStart(*places))
        return;
    // Once the window is up: a modal window is no part of the start.
    if (!minimised)
        PostMessageA(form, OfferMailClientsMessage, 0, 0); // fails only with a full queue: no offer then
    std::string collection;
    try {
        collection = StarterCopy(*places);
    } catch (const std::exception& failure) {
        // The start goes on as any other; the user can still add databases of their own.
        if (services.Options().errorBalloons)
            ReportFailure(reports, failure, StarterErrorTitle);
        return;
    }
    settings::SignatureProfile& profile = services.Profile();
    if (!settings::ListsDatabase(profile, collection))
        profile.databases.push_back(collection);
    // A failure here is the last-resort handler's to show; the list is saved at exit as well.
    services.Store().SaveDatabaseList(profile.databases);
}

bool FirstRun::IsOfferMessage(UINT message) noexcept
{
    return message == OfferMailClientsMessage;
}

void FirstRun::OfferMailClients(SettingsPanel& settings)
{
    const mailclients::MailClientSearch search = mailclients::FindMailClientSignatures();
    const bool fileFound = std::any_of(search.found.begin(), search.found.end(),
                                       [](const mailclients::MailClientSignature& found) { return !found.path.empty(); });
    if (fileFound)
        settings.ChooseFromMailClients();
}
