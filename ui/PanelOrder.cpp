#include "ui/PanelOrder.h"

#include "settings/SettingsPlaces.h"
#include "settings/SideFiles.h"
#include "ui/ProgramState.h"
#include "ui/SettingsPanel.h"

PanelOrder::PanelOrder(const SettingsPanel& settings, const ProgramState& program)
    : settings_(settings), program_(program)
{
}

settings::OrderStateFile* PanelOrder::State() const
{
    const settings::SettingsPlaces* places = program_.places.get();
    if (places != stateFor_) {
        state_.reset();
        if (places)
            state_.emplace(places->SideFileToSave(settings::OrderStateFileName));
        stateFor_ = places;
    }
    return state_ ? &*state_ : nullptr;
}

SignatureOrder PanelOrder::Order() const
{
    return settings_.Order();
}

OrderPlace PanelOrder::Place() const
{
    const settings::OrderStateFile* state = State();
    return state ? OrderPlace::FromText(state->Read()) : OrderPlace{};
}

void PanelOrder::KeepPlace(const OrderPlace& place)
{
    if (settings::OrderStateFile* state = State())
        state->Write(place.ToText());
}
