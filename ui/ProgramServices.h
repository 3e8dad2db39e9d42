#pragma once
#include "engine/SignatureDatabase.h"
#include "engine/SignatureOrder.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace settings {
class OrderStateFile;
class RegistryStore;
class SettingsPlaces;
}

// What lives for the whole run besides the window: the signature database (the one handle
// and record buffer the editor and the random change share), where this run keeps its
// settings and the store over them, and the order's place. Made in WinMain and handed by
// reference to whatever uses it.
//
// The window's start-up starts it and Exit ends it. Before the start (or when the start
// failed) and after the end there is no place to keep anything: writes do nothing, quietly,
// and reads find nothing.
class ProgramServices {
public:
    ProgramServices();
    ~ProgramServices();
    ProgramServices(const ProgramServices&) = delete;
    ProgramServices& operator=(const ProgramServices&) = delete;

    SignatureDatabase& Database() noexcept { return database_; }
    const SignatureDatabase& Database() const noexcept { return database_; }

    // Decides once, for the whole run, where the settings, the start-up entry and the side
    // files of the program in programDirectory are kept, so a setting is never written to
    // one place and looked for in another later on. Fails as SettingsPlaces does.
    void Start(const std::string& programDirectory);
    // Lets the store and the places go; the order's place is no longer kept either.
    void End() noexcept;
    bool Started() const noexcept { return static_cast<bool>(places_); }

    // ---- Settings ----
    // Runs use on the settings store, when there is one.
    void UseSettings(const std::function<void(settings::RegistryStore&)>& use);
    // Runs reads, a run of reads that opens each settings key once for all of them.
    void ReadSettingsInOneRun(const std::function<void()>& reads) const;

    // ---- The places themselves, for what is decided by them (the user's first start) ----
    void UsePlaces(const std::function<void(const settings::SettingsPlaces&)>& use) const;

    // ---- The start-up entry ----
    bool StartupEntryPresent() const;
    void SetStartupEntry(bool present, const std::string& programPath);

    // ---- Side files ----
    // Where a side file is read from and saved to (SettingsPlaces); nothing before the start.
    std::optional<std::string> SideFileToRead(const std::string& fileName) const;
    std::optional<std::string> SideFileToSave(const std::string& fileName) const;
    // Every path a side file of this run may have; none before the start.
    std::vector<std::string> SideFilePaths() const;

    // ---- The order's place, in the order state file (mapped once the run has started) ----
    OrderPlace KeptOrderPlace() const;
    // Nothing when the place was kept (or there is nowhere to keep it); else why the file
    // would not take it, the place going on in memory for the run.
    std::optional<std::string> KeepOrderPlace(const OrderPlace& place);

private:
    settings::OrderStateFile* OrderState() const;

    SignatureDatabase database_;
    std::unique_ptr<settings::SettingsPlaces> places_;
    std::unique_ptr<settings::RegistryStore> settings_;
    mutable std::unique_ptr<settings::OrderStateFile> orderState_;
};
