#pragma once
#include "settings/RegistryStore.h"
#include "settings/SettingValues.h"

#include <string>

// The log-in start-up entry: value "qmz Varnquill" under the Run key of the store's root.
namespace settings {

class SettingsPlaces;

// The command the entry holds: the program path in double quotes, then " /MIN". The quotes
// keep a path with blanks ("C:\Program Files\...") from being cut at the first blank.
std::string StartupCommand(const std::string& programPath);

// True when the entry exists and holds a non-empty string.
bool StartupEntryPresent(const RegistryStore& store);

// Write or remove the entry. Neither reports a failure: a start-up entry that cannot be
// written or removed leaves the program working as before.
void AddStartupEntry(RegistryStore& store, const std::string& programPath);
void RemoveStartupEntry(RegistryStore& store);

// The entry in the Run keys the places name: present when either holds it; added to the
// one chosen for this run, unless the other already starts this very program at log-in
// (two entries would start it twice); removed from each where the user may.
bool StartupEntryPresent(const SettingsPlaces& places);
void AddStartupEntry(const SettingsPlaces& places, const std::string& programPath);
void RemoveStartupEntry(const SettingsPlaces& places);

} // namespace settings
