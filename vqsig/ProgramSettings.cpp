#include "vqsig/ProgramSettings.h"

#include "settings/ProgramLocation.h"
#include "settings/RegistryStore.h"
#include "settings/SettingValues.h"
#include "settings/SideFiles.h"
#include "settings/WholeFile.h"

#include <windows.h>

namespace vqsig {

PickSettings ReadProgramSettings()
{
    const settings::RegistryStore store(HKEY_LOCAL_MACHINE);
    PickSettings values;
    values.signatureFile = settings::ReadSignatureFilePath(store);
    values.delimiter = settings::ReadSigBreak(store);
    values.staticText = settings::ReadSwitch(store, settings::StaticValue);
    values.staticAbove = settings::ReadStaticAbove(store);

    // The side files sit beside Varnquill.exe, and this program sits beside it too. A missing
    // one is an empty list or text, as it is when Varnquill starts.
    const std::string directory = settings::ProgramDirectory();
    const std::string listPath = settings::DatabaseListPath(directory);
    if (settings::FileExists(listPath))
        values.databases = settings::LoadList(listPath);
    const std::string staticPath = settings::StaticTextPath(directory);
    if (settings::FileExists(staticPath))
        values.staticTextLines = settings::LoadStaticText(staticPath);
    return values;
}

} // namespace vqsig
