#include "settings/SettingsStore.h"

#include "base/FileExists.h"
#include "settings/KeptEncodings.h"
#include "settings/SideFiles.h"
#include "settings/StartupEntry.h"

#include <utility>

namespace settings {

namespace {

// Reads one value into its place, or hands its failure on and leaves the default there.
template <typename Read>
void ReadOne(const SettingsStore::LoadFailed& failed, Read&& read)
{
    try {
        read();
    } catch (const std::exception& failure) {
        failed(failure);
    }
}

} // namespace

SettingsStore::SettingsStore() noexcept : registry_(nullptr) {}

SettingsStore::SettingsStore(SettingsPlaces places)
    : places_(std::move(places)), registry_(places_->SettingsStore())
{
}

SettingsStore::~SettingsStore() = default;
SettingsStore::SettingsStore(SettingsStore&&) noexcept = default;
SettingsStore& SettingsStore::operator=(SettingsStore&&) noexcept = default;

void SettingsStore::Rethrow(const std::exception&)
{
    throw; // called from the handler that caught it
}

template <typename Keep>
void SettingsStore::WithPlaces(Keep&& keep)
{
    if (places_)
        keep(*places_, registry_);
}

// ---- Loading ----

SignatureProfile SettingsStore::LoadProfile(const LoadFailed& failed)
{
    SignatureProfile profile;
    if (!places_)
        return profile;
    {
        // The values one after another: their key is opened once for all of them.
        const RegistryStore::KeysHeldOpen held(registry_);
        ReadOne(failed, [&] { profile.signatureFile = ReadSignatureFilePath(registry_); });
        ReadOne(failed, [&] { profile.pasteHotKey = ReadPasteHotKey(registry_); });
        ReadOne(failed, [&] { profile.staticTextOn = ReadSwitch(registry_, StaticValue); });
        ReadOne(failed, [&] { profile.staticTextAbove = ReadStaticAbove(registry_); });
        ReadOne(failed, [&] { profile.delimiter = ReadSigBreak(registry_); });
        ReadOne(failed, [&] { profile.order = OrderNamed(ReadOrder(registry_)); });
    }
    databaseListUnread_ = true;
    ReadOne(failed, [&] {
        profile.databases = LoadDatabaseList();
        databaseListUnread_ = false;
    });
    staticTextUnread_ = true;
    ReadOne(failed, [&] {
        const std::string path = places_->SideFileToRead(StaticTextFileName);
        if (base::FileExists(path))
            profile.staticText = LoadStaticText(path);
        staticTextUnread_ = false;
    });
    return profile;
}

ProgramOptions SettingsStore::LoadOptions(const LoadFailed& failed) const
{
    ProgramOptions options;
    if (!places_)
        return options;
    const RegistryStore::KeysHeldOpen held(registry_);
    ReadOne(failed, [&] { options.minutes = ReadMinutes(registry_); });
    ReadOne(failed, [&] { options.startupEntry = StartupEntryPresent(*places_); });
    ReadOne(failed, [&] {
        options.top = registry_.ReadString(SettingsKey, TopValue, "");
        options.left = registry_.ReadString(SettingsKey, LeftValue, "");
    });
    ReadOne(failed, [&] { options.changeBalloon = ReadSwitch(registry_, BalloonValue); });
    ReadOne(failed, [&] { options.errorBalloons = ReadSwitch(registry_, ErrorValue); });
    ReadOne(failed, [&] { options.autoChange = ReadSwitch(registry_, AutoChangeValue); });
    return options;
}

std::vector<std::string> SettingsStore::LoadDatabaseList() const
{
    if (!places_)
        return {};
    const std::string path = places_->SideFileToRead(DatabaseListFileName);
    return base::FileExists(path) ? LoadList(path) : std::vector<std::string>();
}

// ---- Saving the profile ----

void SettingsStore::SaveSignatureFile(const std::string& path)
{
    WithPlaces([&](const SettingsPlaces&, RegistryStore& registry) { WriteSignatureFilePath(registry, path); });
}

void SettingsStore::SaveDelimiter(bool on)
{
    WithPlaces([&](const SettingsPlaces&, RegistryStore& registry) { WriteSwitch(registry, SigBreakValue, on); });
}

void SettingsStore::SaveStaticTextOn(bool on)
{
    WithPlaces([&](const SettingsPlaces&, RegistryStore& registry) { WriteSwitch(registry, StaticValue, on); });
}

void SettingsStore::SaveStaticTextAbove(bool above)
{
    WithPlaces([&](const SettingsPlaces&, RegistryStore& registry) { WriteStaticPlace(registry, above); });
}

void SettingsStore::SaveOrder(SignatureOrder order)
{
    WithPlaces([&](const SettingsPlaces&, RegistryStore& registry) { WriteOrder(registry, OrderName(order)); });
}

void SettingsStore::SavePasteHotKey(WORD value)
{
    WithPlaces([&](const SettingsPlaces&, RegistryStore& registry) { WritePasteHotKey(registry, value); });
}

void SettingsStore::SaveDatabaseList(const std::vector<std::string>& databases)
{
    if (databaseListUnread_)
        return;
    WithPlaces([&](const SettingsPlaces& places, RegistryStore&) {
        SaveList(places.SideFileToSave(DatabaseListFileName), databases);
    });
}

void SettingsStore::SaveStaticText(const std::string& text)
{
    if (staticTextUnread_)
        return;
    WithPlaces([&](const SettingsPlaces& places, RegistryStore&) {
        settings::SaveStaticText(places.SideFileToSave(StaticTextFileName), text);
    });
}

// ---- Saving the program's options ----

void SettingsStore::SaveAutoChange(bool on)
{
    WithPlaces([&](const SettingsPlaces&, RegistryStore& registry) { WriteSwitch(registry, AutoChangeValue, on); });
}

void SettingsStore::SaveMinutes(int minutes)
{
    WithPlaces([&](const SettingsPlaces&, RegistryStore& registry) { WriteMinutes(registry, minutes); });
}

void SettingsStore::SaveChangeBalloon(bool on)
{
    WithPlaces([&](const SettingsPlaces&, RegistryStore& registry) { WriteSwitch(registry, BalloonValue, on); });
}

void SettingsStore::SaveErrorBalloons(bool on)
{
    WithPlaces([&](const SettingsPlaces&, RegistryStore& registry) { WriteSwitch(registry, ErrorValue, on); });
}

void SettingsStore::SaveStartupEntry(bool present, const std::string& programPath)
{
    WithPlaces([&](const SettingsPlaces& places, RegistryStore&) {
        if (present)
            AddStartupEntry(places, programPath);
        else
            RemoveStartupEntry(places);
    });
}

void SettingsStore::SaveWindowPlace(int top, int left)
{
    WithPlaces([&](const SettingsPlaces&, RegistryStore& registry) { WriteWindowPosition(registry, top, left); });
}

// ---- Encodings ----

std::optional<TextFileEncoding> SettingsStore::KeptEncoding(const std::string& path) const
{
    return places_ ? ReadKeptEncoding(registry_, path) : std::nullopt;
}

void SettingsStore::KeepEncoding(const std::string& path, TextFileEncoding encoding)
{
    WithPlaces([&](const SettingsPlaces&, RegistryStore& registry) { WriteKeptEncoding(registry, path, encoding); });
}

// ---- The order's place ----

std::string SettingsStore::OrderStatePath() const
{
    return places_ ? places_->SideFileToSave(OrderStateFileName) : std::string();
}

OrderStateFile* SettingsStore::OrderState() const
{
    // Mapped at the first change rather than at start-up, which has enough to do.
    if (!orderState_ && places_)
        orderState_ = std::make_unique<OrderStateFile>(OrderStatePath());
    return orderState_.get();
}

std::string SettingsStore::OrderPlaceUnkept() const
{
    const OrderStateFile* state = OrderState();
    return state ? state->Unkept() : std::string();
}

OrderPlace SettingsStore::KeptOrderPlace() const
{
    const OrderStateFile* state = OrderState();
    return state ? OrderPlace::FromText(state->Read()) : OrderPlace{};
}

std::optional<std::string> SettingsStore::KeepOrderPlace(const OrderPlace& place)
{
    OrderStateFile* state = OrderState();
    if (!state || state->Write(place.ToText()))
        return std::nullopt;
    return state->Unkept();
}

} // namespace settings
