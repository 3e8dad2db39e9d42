#include "ui/ProgramServices.h"

#include "settings/SettingsPlaces.h"

ProgramServices::ProgramServices() = default;
ProgramServices::~ProgramServices() = default;

void ProgramServices::Start(const std::string& programDirectory)
{
    store_ = settings::SettingsStore(settings::SettingsPlaces(programDirectory));
}

void ProgramServices::Load(const settings::SettingsStore::LoadFailed& failed)
{
    profile_ = store_.LoadProfile(failed);
    options_ = store_.LoadOptions(failed);
}

void ProgramServices::End() noexcept
{
    store_ = settings::SettingsStore();
}
