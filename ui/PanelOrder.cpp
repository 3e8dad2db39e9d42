#include "ui/PanelOrder.h"

#include "settings/OrderStateFile.h"
#include "ui/ProgramServices.h"
#include "ui/Reports.h"
#include "ui/SettingsPanel.h"

PanelOrder::PanelOrder(const SettingsPanel& settings, ProgramServices& services, Reports& reports)
    : settings_(settings), services_(services), reports_(reports)
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
    const std::optional<std::string> unkept = services_.KeepOrderPlace(place);
    if (!unkept || unkeptSaid_)
        return;
    unkeptSaid_ = true;
    if (reports_.ErrorBalloonsOn())
        reports_.ErrorBalloon(settings::UnkeptPlaceTitle, settings::UnkeptPlaceBalloonText(*unkept));
}
