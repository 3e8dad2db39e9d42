#pragma once
#include "engine/SignatureOrder.h"

class ProgramServices;
class SettingsPanel;

// The order of random changes as the settings panel shows it, and where it stands, kept in
// the order state file of the program's side-file folder (where vqsig finds it too) and read
// again at every change, so a pick from the command line in between is followed.
class PanelOrder : public OrderKeeper {
public:
    PanelOrder(const SettingsPanel& settings, ProgramServices& services);

    SignatureOrder Order() const override;
    OrderPlace Place() const override;
    void KeepPlace(const OrderPlace& place) override;

private:
    const SettingsPanel& settings_;
    ProgramServices& services_;
};
