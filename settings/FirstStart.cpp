#include "settings/FirstStart.h"

#include "base/FileExists.h"
#include "base/Handles.h"
#include "base/PathParts.h"
#include "settings/SettingValues.h"
#include "settings/SettingsPlaces.h"
#include "settings/SideFiles.h"

#include <windows.h>

namespace settings {

namespace {

// Whether the key holds a value under this root. A key that cannot be opened or asked holds
// nothing this run could read either.
bool HoldsSettings(HKEY root)
{
    if (!root)
        return false;
    std::string key = SettingsKey;
    key = key.substr(1, key.size() - 2); // without the backslashes around it
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
        return false;
    const base::RegistryKey closeAgain(opened);
    DWORD values = 0;
    if (RegQueryInfoKeyA(opened, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    return values > 0;
}

} // namespace

bool IsFirstStart(const SettingsPlaces& places)
{
    // The list first: a user who has started before has one, and looking costs less than
    // opening the settings keys.
    for (const std::string& path : places.SideFilePaths()) {
        if (base::FileNamePart(path) == DatabaseListFileName && base::FileExists(path))
            return false;
    }
    return !HoldsSettings(places.SettingsRoot()) && !HoldsSettings(places.SettingsReadThroughRoot());
}

} // namespace settings
