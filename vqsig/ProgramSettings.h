#pragma once
#include "engine/SignatureOrder.h"
#include "settings/SettingsPlaces.h"
#include "settings/SettingsStore.h"

#include <string>
#include <vector>

namespace vqsig {

// Where Varnquill keeps its settings, decided from vqsig's folder: vqsig.exe sits beside
// Varnquill.exe, so these are the program's own places, the per-user key and folder for a
// standard user, as the program uses them.
settings::SettingsPlaces ProgramPlaces();

// The databases of every list Varnquill may read (beside it and in the user's folder),
// found without deciding where its settings are, which would touch the registry.
std::vector<std::string> EveryProgramListedDatabase();

// The order Varnquill's random changes follow and where it stands, in its store: a pick goes
// on from where the tray's last change left the order, and the tray from the pick.
class ProgramOrder final : public OrderKeeper {
public:
    ProgramOrder(settings::SettingsStore& store, SignatureOrder order) : store_(store), order_(order) {}

    SignatureOrder Order() const override { return order_; }
    OrderPlace Place() const override { return store_.KeptOrderPlace(); }
    // Where the order state file cannot be written, says so on standard error, once; the
    // pick still succeeds.
    void KeepPlace(const OrderPlace& place) override;
    bool KeepsPlace() const override { return store_.OrderPlaceUnkept().empty(); }

private:
    settings::SettingsStore& store_;
    SignatureOrder order_;
    bool unkeptSaid_ = false;
};

} // namespace vqsig
