#include "settings/SettingsStore.h"

#include "base/FileExists.h"
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

SettingsStore::SettingsStore(SettingsPlaces places)
    : places_(std::move(places)), registry_(places_.SettingsStore())
{
}

SettingsStore::~SettingsStore() = default;

void SettingsStore::Rethrow(const std::exception&)
{
    throw; // called from the handler that caught it
}

// ---- Loading ----

SignatureProfile SettingsStore::LoadProfile(const LoadFailed& failed)
{
    SignatureProfile profile;
    {
        const auto held = ReadsInOneRun();
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
        const std::string path = places_.SideFileToRead(StaticTextFileName);
        if (base::FileExists(path))
            profile.staticText = LoadStaticText(path);
        staticTextUnread_ = false;
    });
    return profile;
}

ProgramOptions SettingsStore::LoadOptions(const LoadFailed& failed) const
{
    ProgramOptions options;
    const auto held = ReadsInOneRun();
    ReadOne(failed, [&] { options.minutes = ReadMinutes(registry_); });
    ReadOne(failed, [&] { options.startupEntry = StartupEntryPresent(places_); });
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
    const std::string path = places_.SideFileToRead(DatabaseListFileName);
    return base::FileExists(path) ? LoadList(path) : std::vector<std::string>();
}

// ---- Saving the profile ----

void SettingsStore::SaveSignatureFile(const std::string& path)
{
    WriteSignatureFilePath(registry_, path);
}

void SettingsStore::SaveDelimiter(bool on)
{
    WriteSwitch(registry_, SigBreakValue, on);
}

void SettingsStore::SaveStaticTextOn(bool on)
{
    WriteSwitch(registry_, StaticValue, on);
}

void SettingsStore::SaveStaticTextAbove(bool above)
{
    WriteStaticPlace(registry_, above);
}

void SettingsStore::SaveOrder(SignatureOrder order)
{
    WriteOrder(registry_, OrderName(order));
}

void SettingsStore::SavePasteHotKey(WORD value)
{
    WritePasteHotKey(registry_, value);
}

void SettingsStore::SaveDatabaseList(const std::vector<std::string>& databases)
{
    if (!databaseListUnread_)
        SaveList(places_.SideFileToSave(DatabaseListFileName), databases);
}

void SettingsStore::SaveStaticText(const std::string& text)
{
    if (!staticTextUnread_)
        settings::SaveStaticText(places_.SideFileToSave(StaticTextFileName), text);
}

// ---- Saving the program's options ----

void SettingsStore::SaveAutoChange(bool on)
{
    WriteSwitch(registry_, AutoChangeValue, on);
}

void SettingsStore::SaveMinutes(int minutes)
{
    WriteMinutes(registry_, minutes);
}

void SettingsStore::SaveChangeBalloon(bool on)
{
    WriteSwitch(registry_, BalloonValue, on);
}

void SettingsStore::SaveErrorBalloons(bool on)
{
    WriteSwitch(registry_, ErrorValue, on);
}

void SettingsStore::SaveStartupEntry(bool present, const std::string& programPath)
{
    if (present)
        AddStartupEntry(places_, programPath);
    else
        RemoveStartupEntry(places_);
}

void SettingsStore::SaveWindowPlace(int top, int left)
{
    WriteWindowPosition(registry_, top, left);
}

// ---- Encodings ----

std::optional<TextFileEncoding> SettingsStore::KeptEncoding(const std::string& path) const
{
    return ReadKeptEncoding(registry_, path);
}

void SettingsStore::KeepEncoding(const std::string& path, TextFileEncoding encoding)
{
    WriteKeptEncoding(registry_, path, encoding);
}

// ---- The order's place ----

std::string SettingsStore::OrderStatePath() const
{
    return places_.SideFileToSave(OrderStateFileName);
}

OrderStateFile& SettingsStore::OrderState() const
{
    // Mapped at the first change rather than at start-up, which has enough to do.
    if (!orderState_)
        orderState_ = std::make_unique<OrderStateFile>(OrderStatePath());
    return *orderState_;
}

OrderPlace SettingsStore::KeptOrderPlace() const
{
    return OrderPlace::FromText(OrderState().Read());
}

std::optional<std::string> SettingsStore::KeepOrderPlace(const OrderPlace& place)
{
    OrderStateFile& state = OrderState();
    if (state.Write(place.ToText()))
        return std::nullopt;
    return state.Unkept();
}

} // namespace settings
