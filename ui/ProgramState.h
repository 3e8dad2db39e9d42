#pragma once
#include <memory>

namespace settings {
class RegistryStore;
class SettingsPlaces;
}
namespace tray {
class TTrayIcon;
}

// What the handlers of the main window share for the whole run, besides the signature
// database (ProgramDatabase()): the tray icon, and the settings store with the places it
// keeps the settings in. The main window's start-up creates them and its exit releases them;
// outside that time they are null.
struct ProgramState {
    ProgramState();
    ~ProgramState();
    ProgramState(const ProgramState&) = delete;
    ProgramState& operator=(const ProgramState&) = delete;

    std::unique_ptr<tray::TTrayIcon> trayIcon;
    std::unique_ptr<settings::SettingsPlaces> places;
    std::unique_ptr<settings::RegistryStore> settings;
};

// The program's one instance.
ProgramState& Program();
