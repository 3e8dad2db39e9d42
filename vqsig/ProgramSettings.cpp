#include "vqsig/ProgramSettings.h"

#include "settings/ProgramLocation.h"
#include "settings/SettingsPlaces.h"
#include "settings/SettingValues.h"
#include "settings/SideFiles.h"
#include "base/PathParts.h"
#include "base/WholeFile.h"
#include "vqsig/StandardStreams.h"

namespace vqsig {

settings::SettingsPlaces ProgramPlaces()
{
    return settings::SettingsPlaces(settings::ProgramDirectory());
}

PickSettings ReadProgramSettings(const settings::SettingsPlaces& places)
{
    const settings::RegistryStore store = places.SettingsStore();
    PickSettings values;
    values.signatureFile = settings::ReadSignatureFilePath(store);
    values.delimiter = settings::ReadSigBreak(store);
    values.staticText = settings::ReadSwitch(store, settings::StaticValue);
    values.staticAbove = settings::ReadStaticAbove(store);

    // The side files where the program reads them and where it saves them: never a target.
    values.sourceFiles = places.SideFilePaths();
    values.databases = ProgramListedDatabases(places);
    // A missing side file is an empty text, as it is when Varnquill starts.
    const std::string staticPath = places.SideFileToRead(settings::StaticTextFileName);
    if (base::FileExists(staticPath))
        values.staticTextLines = settings::LoadStaticText(staticPath);
    return values;
}

std::vector<std::string> ProgramListedDatabases(const settings::SettingsPlaces& places)
{
    // A missing list is an empty one, as it is when Varnquill starts.
    const std::string listPath = places.SideFileToRead(settings::DatabaseListFileName);
    return base::FileExists(listPath) ? settings::LoadList(listPath) : std::vector<std::string>();
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
            // a target that is a database is still known by its name or size.
        }
    }
    return databases;
}

ProgramOrder::ProgramOrder(const settings::SettingsPlaces& places)
    : path_(places.SideFileToSave(settings::OrderStateFileName)),
      place_(path_),
      order_(OrderNamed(settings::ReadOrder(places.SettingsStore())))
{
}

OrderPlace ProgramOrder::Place() const
{
    return OrderPlace::FromText(place_.Read());
}

void ProgramOrder::KeepPlace(const OrderPlace& place)
{
    if (!place_.Write(place.ToText()) && !unkeptSaid_) {
        unkeptSaid_ = true;
        WriteStandardError(settings::UnkeptPlaceText(path_, place_.Unkept()) + "\r\n");
    }
}

} // namespace vqsig
