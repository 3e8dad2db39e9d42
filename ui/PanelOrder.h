#pragma once
#include "engine/SignatureOrder.h"
#include "settings/RegistryStore.h"

#include <optional>

class SettingsPanel;
struct ProgramState;

// The order of random changes as the settings panel shows it, and where it stands, kept in
// the settings store (where vqsig finds it too) and read again at every change, so a pick
// from the command line in between is followed. Outside the store's life the order keeps
// no place.
class PanelOrder : public OrderKeeper {
public:
    PanelOrder(const SettingsPanel& settings, const ProgramState& program);

    SignatureOrder Order() const override;
    OrderPlace Place() const override;
    void KeepPlace(const OrderPlace& place) override;

private:
    // The held value over the store that is now the program's, made on first use.
    settings::HeldValue* Held() const;

    const SettingsPanel& settings_;
    const ProgramState& program_;
    mutable const settings::RegistryStore* heldFor_ = nullptr;
    mutable std::optional<settings::HeldValue> held_;
};
