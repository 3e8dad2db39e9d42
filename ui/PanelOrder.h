#pragma once
#include "engine/SignatureOrder.h"

class ProgramServices;
class Reports;
class SettingsPanel;

// The order of random changes as the settings panel shows it, and where it stands, kept in
// the order state file of the program's side-file folder (where vqsig finds it too) and read
// again at every change, so a pick from the command line in between is followed. Where the
// file cannot be written, the place goes on in memory, and an error balloon says so once,
// when error balloons are on.
class PanelOrder : public OrderKeeper {
public:
    PanelOrder(const SettingsPanel& settings, ProgramServices& services, Reports& reports);

    SignatureOrder Order() const override;
    OrderPlace Place() const override;
    void KeepPlace(const OrderPlace& place) override;

private:
    const SettingsPanel& settings_;
    ProgramServices& services_;
    Reports& reports_;
    bool unkeptSaid_ = false; // the place could not be kept, and the user has heard
};
