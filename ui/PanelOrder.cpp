#include "ui/PanelOrder.h"

#include "settings/SettingsPlaces.h"
#include "settings/SideFiles.h"
#include "tray/TrayIcon.h"
#include "ui/ProgramState.h"
#include "ui/Reports.h"
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
    settings::OrderStateFile* state = State();
    if (!state || state->Write(place.ToText()) || unkeptSaid_)
        return;
    unkeptSaid_ = true;
    tray::TTrayIcon* icon = program_.trayIcon.get();
    if (icon && settings_.ErrorBalloonsOn())
        // The shell's answer is not looked at: a balloon it refuses is simply not seen.
        icon->ShowBalloonHint(settings::UnkeptPlaceTitle, settings::UnkeptPlaceBalloonText(state->Unkept()),
                              tray::bitError, Reports::BalloonSeconds);
}
