#pragma once
#include "engine/SignatureOrder.h"
#include "engine/TextFileEncoding.h"
#include "settings/OrderStateFile.h"
#include "settings/RegistryStore.h"
#include "settings/SettingsPlaces.h"
#include "settings/SignatureProfile.h"

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace settings {

// The one keeper of what the program keeps between runs, over the places one run decided on
// (SettingsPlaces): the signature profile and the program's options in the registry values,
// the database list and the static text in their side files, the encodings the signature
// files were found in, and where the order stands. The window and vqsig load through it, and
// nothing else writes those values and files.
//
// Each value is saved on its own, at the moment the program has always saved it: a setting
// when it changes, the side files and the window's place at the end of the run.
//
// A store made without places keeps nothing: before a run has decided where its settings
// are, or once it has ended, loads find the defaults and saves do nothing.
class SettingsStore {
public:
    SettingsStore() noexcept;
    explicit SettingsStore(SettingsPlaces places);
    ~SettingsStore();
    SettingsStore(SettingsStore&&) noexcept;
    SettingsStore& operator=(SettingsStore&&) noexcept;

    // The places it keeps things in; none for a store that keeps nothing.
    const SettingsPlaces* Places() const noexcept { return places_ ? &*places_ : nullptr; }

    // ---- Loading ----
    // Each value is read on its own: one that fails (a registry value of another type, a
    // side file that cannot be read) keeps its default and is handed to failed, from inside
    // the handler that caught it, and the rest is still read. The default rethrows, so the
    // first failure ends the load. A missing value or side file is its default, no failure.
    using LoadFailed = std::function<void(const std::exception&)>;
    static void Rethrow(const std::exception&);
    SignatureProfile LoadProfile(const LoadFailed& failed = Rethrow);
    ProgramOptions LoadOptions(const LoadFailed& failed = Rethrow) const;
    // The database list alone, where a run reads it; none without a list.
    std::vector<std::string> LoadDatabaseList() const;

    // ---- Saving the profile, each value as it changes ----
    void SaveSignatureFile(const std::string& path);
    void SaveDelimiter(bool on);
    void SaveStaticTextOn(bool on);
    void SaveStaticTextAbove(bool above);
    void SaveOrder(SignatureOrder order);
    void SavePasteHotKey(WORD value);
    // The side files, at the end of the run (and the list at a first start). One that
    // existed but could not be read at LoadProfile is not written over: what the user had
    // is still in it, not in the program.
    void SaveDatabaseList(const std::vector<std::string>& databases);
    void SaveStaticText(const std::string& text);

    // ---- Saving the program's options ----
    void SaveAutoChange(bool on);
    void SaveMinutes(int minutes);
    void SaveChangeBalloon(bool on);
    void SaveErrorBalloons(bool on);
    void SaveStartupEntry(bool present, const std::string& programPath);
    void SaveWindowPlace(int top, int left);

    // ---- The encodings signature files were last found in (WriterSettings) ----
    std::optional<TextFileEncoding> KeptEncoding(const std::string& path) const;
    void KeepEncoding(const std::string& path, TextFileEncoding encoding);

    // ---- Where the order stands, in the order state file (mapped at the first use) ----
    OrderPlace KeptOrderPlace() const;
    // Nothing when the place was kept; else why the file would not take it, the place going
    // on in memory for the run.
    std::optional<std::string> KeepOrderPlace(const OrderPlace& place);
    // The order state file's path, for what a program says when it cannot be kept.
    std::string OrderStatePath() const;
    // Why the order state file cannot keep the place; empty while it can (or there is none).
    std::string OrderPlaceUnkept() const;

private:
    // Runs keep with the places and the registry store, when there are places.
    template <typename Keep>
    void WithPlaces(Keep&& keep);
    OrderStateFile* OrderState() const;

    std::optional<SettingsPlaces> places_;
    RegistryStore registry_;
    bool databaseListUnread_ = false;
    bool staticTextUnread_ = false;
    mutable std::unique_ptr<OrderStateFile> orderState_;
};

} // namespace settings
