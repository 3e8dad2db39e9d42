#include "settings/FirstStart.h"

#include "base/FileExists.h"
#include "base/Handles.h"
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

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

} // namespace

bool IsFirstStart(const SettingsPlaces& places)
{
    if (HoldsSettings(places.SettingsRoot()) || HoldsSettings(places.SettingsReadThroughRoot()))
        return false;
    const std::string listName = std::string("\\") + DatabaseListFileName;
    for (const std::string& path : places.SideFilePaths()) {
        if (EndsWith(path, listName) && base::FileExists(path))
            return false;
    }
    return true;
}

} // namespace settings
