#pragma once
#include "base/Handles.h"

#include <windows.h>

#include <map>
#include <optional>
#include <string>

// The program's registry values, read and prepared from outside: under HKEY_LOCAL_MACHINE,
// or under HKEY_CURRENT_USER where a standard user keeps them.
namespace e2e {

inline constexpr const char* SettingsKeyPath = "Software\\qmz\\Varnquill";
inline constexpr const char* RunKeyPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* StartupValueName = "qmz Varnquill";

// Removes the settings keys with everything under them, the start-up entries and the side
// files of the user's own folder.
void ForgetProgramSettings();

// Every string value of the settings key, by name (empty when the key is missing).
std::map<std::string, std::string> StoredSettings(HKEY root = HKEY_LOCAL_MACHINE);
std::optional<std::string> StoredSetting(const std::string& name, HKEY root = HKEY_LOCAL_MACHINE);
void StoreSetting(const std::string& name, const std::string& value);

std::optional<std::string> StartupEntry(HKEY root = HKEY_LOCAL_MACHINE);

// Where a standard user's side files go: "Varnquill" in the roaming application data folder,
// ending in a backslash.
std::string UserSideFilesFolder();

// Wakes a wait whenever a value of the settings key changes (the key is made if missing).
class SettingsChange {
public:
    SettingsChange();
    HANDLE Event() const noexcept { return event_.Get(); }
    // Watches for the next change.
    void Arm();

private:
    base::KernelHandle event_;
    base::RegistryKey key_;
};

} // namespace e2e
