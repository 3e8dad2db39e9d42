#pragma once
#include "engine/SignatureOrder.h"
#include "settings/OrderStateFile.h"

#include <optional>

class SettingsPanel;
struct ProgramState;
namespace settings {
class SettingsPlaces;
}

// The order of random changes as the settings panel shows it, and where it stands, kept in
// the order state file of the program's side-file folder (where vqsig finds it too) and read
// again at every change, so a pick from the command line in between is followed. Outside
// the places' life the order keeps no place. Where the file cannot be written, the place
// goes on in memory, and an error balloon says so once, when error balloons are on.
class PanelOrder : public OrderKeeper {
public:
    PanelOrder(const SettingsPanel& settings, const ProgramState& program);

    SignatureOrder Order() const override;
    OrderPlace Place() const override;
    void KeepPlace(const OrderPlace& place) override;

private:
    // The file of the places that are now the program's, mapped on first use.
    settings::OrderStateFile* State() const;

    const SettingsPanel& settings_;
    const ProgramState& program_;
    mutable const settings::SettingsPlaces* stateFor_ = nullptr;
    mutable std::optional<settings::OrderStateFile> state_;
    bool unkeptSaid_ = false; // the place could not be kept, and the user has heard
};
