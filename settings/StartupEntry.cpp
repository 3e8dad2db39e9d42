#include "settings/StartupEntry.h"

namespace settings {

std::string StartupCommand(const std::string& programPath)
{
    return "\"" + programPath + "\" /MIN";
}

bool StartupEntryPresent(const RegistryStore& store)
{
    try {
        return !store.ReadString(RunKey, StartupValue, std::string()).empty();
    } catch (const RegistryError&) {
        return false; // something else, not a command we wrote, sits under our name
    }
}

void AddStartupEntry(RegistryStore& store, const std::string& programPath)
{
    try {
        store.WriteString(RunKey, StartupValue, StartupCommand(programPath));
    } catch (const RegistryError&) {
        // Deliberately silent: the entry is a convenience, and the box keeps the user's choice.
    }
}

void RemoveStartupEntry(RegistryStore& store)
{
    store.DeleteValue(RunKey, StartupValue);
}

} // namespace settings
