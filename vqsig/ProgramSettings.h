#pragma once
#include "engine/SignatureOrder.h"
#include "settings/OrderStateFile.h"
#include "settings/SettingsPlaces.h"
#include "vqsig/PickSettings.h"

namespace vqsig {

// Where Varnquill keeps its settings, decided from vqsig's folder: vqsig.exe sits beside
// Varnquill.exe, so these are the program's own places, the per-user key and folder for a
// standard user, as the program uses them.
settings::SettingsPlaces ProgramPlaces();

// The signature settings Varnquill keeps, read where Varnquill keeps them, so that a pick
// from the command line and one from the tray write the same file the same way.
PickSettings ReadProgramSettings(const settings::SettingsPlaces& places);

// The databases Varnquill's list holds, where Varnquill reads it; none without a list.
std::vector<std::string> ProgramListedDatabases(const settings::SettingsPlaces& places);
// The databases of every list Varnquill may read (beside it and in the user's folder),
// found without deciding where its settings are, which would touch the registry.
std::vector<std::string> EveryProgramListedDatabase();

// The order Varnquill's random changes follow and where it stands, in its settings and its
// side files: a pick goes on from where the tray's last change left the order, and the tray
// from the pick.
class ProgramOrder final : public OrderKeeper {
public:
    explicit ProgramOrder(const settings::SettingsPlaces& places);

    SignatureOrder Order() const override { return order_; }
    OrderPlace Place() const override;
    // Where the order state file cannot be written, says so on standard error, once; the
    // pick still succeeds.
    void KeepPlace(const OrderPlace& place) override;
    bool KeepsPlace() const override { return place_.Unkept().empty(); }

private:
    std::string path_;
    settings::OrderStateFile place_;
    bool unkeptSaid_ = false;
    SignatureOrder order_;
};

} // namespace vqsig
