#include "ui/ProgramServices.h"

#include "settings/OrderStateFile.h"
#include "settings/RegistryStore.h"
#include "settings/SettingsPlaces.h"
#include "settings/SideFiles.h"
#include "settings/StartupEntry.h"

ProgramServices::ProgramServices() = default;
ProgramServices::~ProgramServices() = default;

void ProgramServices::Start(const std::string& programDirectory)
{
    auto places = std::make_unique<settings::SettingsPlaces>(programDirectory);
    settings_ = std::make_unique<settings::RegistryStore>(places->SettingsStore());
    places_ = std::move(places);
}

void ProgramServices::End() noexcept
{
    orderState_.reset();
    settings_.reset();
    places_.reset();
}

void ProgramServices::UseSettings(const std::function<void(settings::RegistryStore&)>& use)
{
    if (settings_)
        use(*settings_);
}

void ProgramServices::ReadSettingsInOneRun(const std::function<void()>& reads) const
{
    if (!settings_) {
        reads();
        return;
    }
    const settings::RegistryStore::KeysHeldOpen held(*settings_);
    reads();
}

void ProgramServices::UsePlaces(const std::function<void(const settings::SettingsPlaces&)>& use) const
{
    if (places_)
        use(*places_);
}

bool ProgramServices::StartupEntryPresent() const
{
    return places_ && settings::StartupEntryPresent(*places_);
}

void ProgramServices::SetStartupEntry(bool present, const std::string& programPath)
{
    if (!places_)
        return;
    if (present)
        settings::AddStartupEntry(*places_, programPath);
    else
        settings::RemoveStartupEntry(*places_);
}

std::optional<std::string> ProgramServices::SideFileToRead(const std::string& fileName) const
{
    if (!places_)
        return std::nullopt;
    return places_->SideFileToRead(fileName);
}

std::optional<std::string> ProgramServices::SideFileToSave(const std::string& fileName) const
{
    if (!places_)
        return std::nullopt;
    return places_->SideFileToSave(fileName);
}

std::vector<std::string> ProgramServices::SideFilePaths() const
{
    return places_ ? places_->SideFilePaths() : std::vector<std::string>{};
}

settings::OrderStateFile* ProgramServices::OrderState() const
{
    // Mapped at the first change rather than at start-up, which has enough to do.
    if (!orderState_ && places_)
        orderState_ = std::make_unique<settings::OrderStateFile>(places_->SideFileToSave(settings::OrderStateFileName));
    return orderState_.get();
}

OrderPlace ProgramServices::KeptOrderPlace() const
{
    const settings::OrderStateFile* state = OrderState();
    return state ? OrderPlace::FromText(state->Read()) : OrderPlace{};
}

std::optional<std::string> ProgramServices::KeepOrderPlace(const OrderPlace& place)
{
    settings::OrderStateFile* state = OrderState();
    if (!state || state->Write(place.ToText()))
        return std::nullopt;
    return state->Unkept();
}
