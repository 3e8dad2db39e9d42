#include "settings/StartupEntry.h"

#include "settings/SettingsPlaces.h"

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

bool StartupEntryPresent(const SettingsPlaces& places)
{
    for (HKEY root : places.StartupRoots()) {
        if (StartupEntryPresent(RegistryStore(root)))
            return true;
    }
    return false;
}

void AddStartupEntry(const SettingsPlaces& places, const std::string& programPath)
{
    const std::string command = StartupCommand(programPath);
    for (HKEY root : places.StartupRoots()) {
        if (root == places.StartupRoot())
            continue;
        try {
            if (RegistryStore(root).ReadString(RunKey, StartupValue, std::string()) == command)
                return;
        } catch (const RegistryError&) {
            // Not a command we wrote: ours goes in as usual.
        }
    }
    RegistryStore chosen(places.StartupRoot());
    AddStartupEntry(chosen, programPath);
}

void RemoveStartupEntry(const SettingsPlaces& places)
{
    for (HKEY root : places.StartupRoots()) {
        RegistryStore store(root);
        RemoveStartupEntry(store);
    }
}

} // namespace settings
