#include "vqsig/ProgramSettings.h"

#include "settings/ProgramLocation.h"
#include "settings/SettingsPlaces.h"
#include "settings/SettingValues.h"
#include "settings/SideFiles.h"
#include "settings/WholeFile.h"

namespace vqsig {

PickSettings ReadProgramSettings()
{
    // vqsig.exe sits beside Varnquill.exe, so the places decided from this folder are the
    // program's own: the per-user key and folder for a standard user, as the program uses them.
    const settings::SettingsPlaces places(settings::ProgramDirectory());
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

} // namespace vqsig
