#include "vqsig/ProgramSettings.h"

#include "settings/ProgramLocation.h"
#include "settings/SettingsPlaces.h"
#include "settings/SettingValues.h"
#include "settings/SideFiles.h"
#include "base/WholeFile.h"

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
    // A missing side file is an empty list or text, as it is when Varnquill starts.
    const std::string listPath = places.SideFileToRead(settings::DatabaseListFileName);
    if (base::FileExists(listPath))
        values.databases = settings::LoadList(listPath);
    const std::string staticPath = places.SideFileToRead(settings::StaticTextFileName);
    if (base::FileExists(staticPath))
        values.staticTextLines = settings::LoadStaticText(staticPath);
    return values;
}

ProgramOrder::ProgramOrder(const settings::SettingsPlaces& places)
    : place_(places.SideFileToSave(settings::OrderStateFileName)),
      order_(OrderNamed(settings::ReadOrder(places.SettingsStore())))
{
}

OrderPlace ProgramOrder::Place() const
{
    return OrderPlace::FromText(place_.Read());
}

void ProgramOrder::KeepPlace(const OrderPlace& place)
{
    place_.Write(place.ToText());
}

} // namespace vqsig
