#include "ui/PanelOrder.h"

#include "settings/SettingValues.h"
#include "ui/ProgramState.h"
#include "ui/SettingsPanel.h"

PanelOrder::PanelOrder(const SettingsPanel& settings, const ProgramState& program)
    : settings_(settings), program_(program)
{
}

settings::HeldValue* PanelOrder::Held() const
{
    const settings::RegistryStore* store = program_.settings.get();
    if (store != heldFor_) {
        held_.reset();
        if (store)
            held_.emplace(settings::OrderStateIn(*store));
        heldFor_ = store;
    }
    return held_ ? &*held_ : nullptr;
}

SignatureOrder PanelOrder::Order() const
{
    return settings_.Order();
}

OrderPlace PanelOrder::Place() const
{
    const settings::HeldValue* held = Held();
    return held ? OrderPlace::FromText(settings::ReadOrderState(*held)) : OrderPlace{};
}

void PanelOrder::KeepPlace(const OrderPlace& place)
{
    if (settings::HeldValue* held = Held())
        settings::WriteOrderState(*held, place.ToText());
}
