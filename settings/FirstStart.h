#pragma once
#include <string>

// A user's first start of the program, and the starter collection it lists.
namespace settings {

class SettingsPlaces;

// The collection of signatures shipped beside the program.
inline constexpr const char* StarterCollectionFileName = "Quotes.sigs";

// Whether nothing of this user's is there yet: no value under the settings key in either
// place this run reads settings from, and no database list in any place this run reads one
// from. Asked before start-up reads or writes a setting. Once a database list has been saved
// (a first start saves its own at once), no start is a first start again, whatever the user
// removes from the list: the list file stays, even empty.
bool IsFirstStart(const SettingsPlaces& places);

} // namespace settings
