#pragma once
#include <string>

namespace base {

// The user's roaming application data folder (%APPDATA%), without a separator at its end;
// empty when the user has none.
std::string RoamingAppDataFolder();

} // namespace base
