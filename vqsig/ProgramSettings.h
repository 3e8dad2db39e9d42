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

// The order Varnquill's random changes follow and where it stands, in its settings and its
// side files: a pick goes on from where the tray's last change left the order, and the tray
// from the pick.
class ProgramOrder final : public OrderKeeper {
public:
    explicit ProgramOrder(const settings::SettingsPlaces& places);

    SignatureOrder Order() const override { return order_; }
    OrderPlace Place() const override;
    void KeepPlace(const OrderPlace& place) override;

private:
    settings::OrderStateFile place_;
    SignatureOrder order_;
};

} // namespace vqsig
