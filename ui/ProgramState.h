#pragma once
#include <memory>

namespace settings {
class RegistryStore;
class SettingsPlaces;
}
namespace tray {
class TTrayIcon;
}

// What lives for the whole run besides the signature database (ProgramDatabase()) and the
// main window: the tray icon, and the settings store with the places it keeps the settings
// in. Made in WinMain and handed to the main window, whose start-up fills it and whose exit
// empties it; outside that time the members are null.
struct ProgramState {
    ProgramState();
    ~ProgramState();
    ProgramState(const ProgramState&) = delete;
    ProgramState& operator=(const ProgramState&) = delete;

    std::unique_ptr<tray::TTrayIcon> trayIcon;
    std::unique_ptr<settings::SettingsPlaces> places;
    std::unique_ptr<settings::RegistryStore> settings;
};
