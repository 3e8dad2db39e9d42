#include "vqsig/ProgramSettings.h"

#include "base/FileExists.h"
#include "base/PathParts.h"
#include "base/WholeFile.h"
#include "settings/OrderStateFile.h"
#include "settings/ProgramLocation.h"
#include "settings/SideFiles.h"
#include "vqsig/StandardStreams.h"

namespace vqsig {

settings::SettingsPlaces ProgramPlaces()
{
    return settings::SettingsPlaces(settings::ProgramDirectory());
}

std::vector<std::string> EveryProgramListedDatabase()
{
    std::vector<std::string> databases;
    for (const std::string& path : settings::EverySideFilePath(settings::ProgramDirectory())) {
        if (base::FileNamePart(path) != settings::DatabaseListFileName || !base::FileExists(path))
            continue;
        try {
            const std::vector<std::string> listed = settings::LoadList(path);
            databases.insert(databases.end(), listed.begin(), listed.end());
        } catch (const base::FileAccessError&) {
            // Held by another program just now: a pick of other databases still goes on, and
            // a target that is a database is still known by its name or what it holds.
        }
    }
    return databases;
}

void ProgramOrder::KeepPlace(const OrderPlace& place)
{
    const std::optional<std::string> unkept = store_.KeepOrderPlace(place);
    if (unkept && !unkeptSaid_) {
        unkeptSaid_ = true;
        WriteStandardError(settings::UnkeptPlaceText(store_.OrderStatePath(), *unkept) + "\r\n");
    }
}

} // namespace vqsig
