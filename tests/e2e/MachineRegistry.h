#pragma once
#include "toolkit/Handles.h"

#include <windows.h>

#include <map>
#include <optional>
#include <string>

// The program's registry values under HKEY_LOCAL_MACHINE, read and prepared from outside.
namespace e2e {

inline constexpr const char* SettingsKeyPath = "Software\\qmz\\Varnquill";
inline constexpr const char* RunKeyPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* StartupValueName = "qmz Varnquill";

// Removes the settings key with everything under it, and the start-up entry.
void ForgetProgramSettings();

// Every string value of the settings key, by name (empty when the key is missing).
std::map<std::string, std::string> StoredSettings();
std::optional<std::string> StoredSetting(const std::string& name);
void StoreSetting(const std::string& name, const std::string& value);

std::optional<std::string> StartupEntry();

// Wakes a wait whenever a value of the settings key changes (the key is made if missing).
class SettingsChange {
public:
    SettingsChange();
    HANDLE Event() const noexcept { return event_.Get(); }
    // Watches for the next change.
    void Arm();

private:
    toolkit::KernelHandle event_;
    toolkit::RegistryKey key_;
};

} // namespace e2e
