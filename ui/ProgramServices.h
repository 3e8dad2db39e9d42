#pragma once
#include "engine/SignatureDatabase.h"
#include "settings/SettingsStore.h"
#include "settings/SignatureProfile.h"

#include <string>

// What lives for the whole run besides the window: the signature database (the one handle
// and record buffer the editor and the random change share), the store over the places this
// run keeps its settings in, and what it loaded: the signature profile and the program's
// options, as plain values the window's parts show and change. Made in WinMain and handed
// by reference to whatever uses it.
//
// The window's start-up starts it and Exit ends it. Before the start (or when the start
// failed) and after the end the store keeps nothing: saves do nothing, quietly, and loads
// find the defaults. The profile and the options stay as they were.
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
    // Loads the profile and the options; a value that cannot be read keeps its default and
    // goes to failed (settings::SettingsStore::LoadProfile).
    void Load(const settings::SettingsStore::LoadFailed& failed);
    // Lets the store and its places go; the order's place is no longer kept either.
    void End() noexcept;
    bool Started() const noexcept { return store_.Places() != nullptr; }

    settings::SettingsStore& Store() noexcept { return store_; }
    const settings::SettingsStore& Store() const noexcept { return store_; }
    settings::SignatureProfile& Profile() noexcept { return profile_; }
    const settings::SignatureProfile& Profile() const noexcept { return profile_; }
    settings::ProgramOptions& Options() noexcept { return options_; }
    const settings::ProgramOptions& Options() const noexcept { return options_; }

private:
    SignatureDatabase database_;
    settings::SettingsStore store_;
    settings::SignatureProfile profile_;
    settings::ProgramOptions options_;
};
