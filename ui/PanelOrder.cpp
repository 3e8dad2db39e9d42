#include "ui/PanelOrder.h"

#include "ui/ProgramServices.h"
#include "ui/SettingsPanel.h"

PanelOrder::PanelOrder(const SettingsPanel& settings, ProgramServices& services)
    : settings_(settings), services_(services)
{
}

SignatureOrder PanelOrder::Order() const
{
    return settings_.Order();
}

OrderPlace PanelOrder::Place() const
{
    return services_.KeptOrderPlace();
}

void PanelOrder::KeepPlace(const OrderPlace& place)
{
    services_.KeepOrderPlace(place);
}
