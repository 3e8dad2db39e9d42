#include "ui/ProgramState.h"

#include "settings/RegistryStore.h"
#include "settings/SettingsPlaces.h"
#include "tray/TrayIcon.h"

ProgramState::ProgramState() = default;
ProgramState::~ProgramState() = default;
