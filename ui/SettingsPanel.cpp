#include "ui/SettingsPanel.h"

#include "base/WholeFile.h"
#include "engine/IoFailure.h"
#include "engine/ReportSink.h"
#include "engine/SignatureRecord.h"
#include "engine/TextFileWriter.h"
#include "settings/ProgramLocation.h"
#include "settings/SettingValues.h"
#include "toolkit/FileDialogs.h"
#include "toolkit/MessageDialogs.h"
#include "ui/FormLayout.h"
#include "ui/MailClientsWindow.h"
#include "ui/HotKeys.h"
#include "ui/ProgramServices.h"
#include "ui/Steps.h"

#include <string>
#include <utility>
#include <vector>

namespace {

using layout::At;
using layout::DatabaseTop;
using layout::SettingsTop;

constexpr int MinutesMin = 1;
constexpr int MinutesMax = 70000;
// The order drop-down's items, in the order they are listed.
struct OrderChoice {
    SignatureOrder order;
    const char* caption;
};
constexpr OrderChoice OrderChoices[] = {
    {SignatureOrder::Random, "At random"},
    {SignatureOrder::Shuffle, "Shuffled, each once per round"},
    {SignatureOrder::Sequence, "In order"},
};

std::vector<std::string> OrderCaptions()
{
    std::vector<std::string> captions;
    for (const OrderChoice& choice : OrderChoices)
        captions.push_back(choice.caption);
    return captions;
}

int OrderIndex(SignatureOrder order)
{
    int index = 0;
    while (OrderChoices[index].order != order)
        ++index;
    return index;
}

// The timer's interval for a minutes value: computed in 32 bits and handed over unsigned,
// so 70000 minutes are 4,200,000,000 ms.
UINT MinutesToInterval(int minutes) noexcept
{
    return static_cast<UINT>(minutes) * 60000u;
}

} // namespace

SettingsPanel::SettingsPanel(HWND form, ProgramServices& services, ReportSink& reports,
                             std::function<void()> autoChange)
    : SettingsGroup(layout::Group(form, SettingsTop, layout::SettingsHeight, "Settings")),
      OEFileLabel(At(form, SettingsTop, 8, 16, 0, 0, "Signature Text File:")),
      OEFileEdit(At(form, SettingsTop, 8, 32, 577, 21)),
      BrowseBtn(At(form, SettingsTop, 592, 32, 145, 21, "Browse / Create")),
      MailClientsBtn(At(form, SettingsTop, 592, 9, 145, 21, "Mail clients...")),
      AutoChkBx(At(form, SettingsTop, 8, 64, 201, 17, "Automatically change signature every ")),
      MinutesEdit(At(form, SettingsTop, 208, 60, 57, 22), MinutesMin, MinutesMax),
      MinutesLabel(At(form, SettingsTop, 271, 64, 0, 0, "minute(s)")),
      StartupChkBx(At(form, SettingsTop, 352, 64, 137, 17, "Add to Windows Startup")),
      BalloonChkBx(At(form, SettingsTop, 8, 88, 241, 17, "Pop up \"balloon hint\" when signature changes")),
      ErrorChkBx(At(form, SettingsTop, 352, 88, 177, 17, "Pop up \"balloon\" error messages")),
      SigBreakChkBx(At(form, SettingsTop, 8, 112, 177, 17, "Add standard signature delimiter")),
      OrderLabel(At(form, SettingsTop, 352, 112, 0, 0, "Order:")),
      OrderCombo(At(form, SettingsTop, 392, 108, 185, 120), OrderCaptions()),
      StaticLabel(At(form, DatabaseTop, 8, 88, 0, 0, "Static text:")),
      StaticMemo(At(form, DatabaseTop, 8, 104, 360, 121, {}, layout::Disabled)),
      StaticChkBx(At(form, DatabaseTop, 8, 64, 169, 17, "Include static text in signatures")),
      AboveRadio(At(form, DatabaseTop, 176, 64, 73, 17, "above or")),
      BelowRadio(At(form, DatabaseTop, 240, 64, 137, 17, "below random signature")),
      AutoTimer(toolkit::TimerArgs{MinutesToInterval(settings::DefaultMinutes), false}),
      PasteHotKeyLabel(At(form, SettingsTop, 592, 92, 0, 0, "Paste hot key:")),
      PasteHotKeyEdit(At(form, SettingsTop, 592, 108, 145, 21)),
      form_(form),
      services_(services),
      reports_(reports),
      autoChange_(std::move(autoChange))
{
    // Initial states, set before any handler is connected so that they write nothing.
    MinutesEdit.SetValue(settings::DefaultMinutes);
    AboveRadio.SetChecked(true);
    OrderCombo.SetItemIndex(OrderIndex(SignatureOrder::Random));
    StaticMemo.SetMaxLength(static_cast<int>(SignatureTextCapacity));
    // Made after the static text, it still comes last of the "Settings" group for Tab.
    PasteHotKeyLabel.PlaceAfter(OrderCombo);
    PasteHotKeyEdit.PlaceAfter(PasteHotKeyLabel);
    ConnectHandlers();
}

void SettingsPanel::ConnectHandlers()
{
    OEFileEdit.OnChange = [this](auto&) { OEFileEditChange(); };
    BrowseBtn.OnClick = [this](auto&) { BrowseBtnClick(); };
    MailClientsBtn.OnClick = [this](auto&) { MailClientsBtnClick(); };
    AutoChkBx.OnClick = [this](auto&) { AutoChkBxClick(); };
    MinutesEdit.OnChange = [this](auto&) { MinutesEditChange(); };
    StartupChkBx.OnClick = [this](auto&) { StartupChkBxClick(); };
    BalloonChkBx.OnClick = [this](auto&) { BalloonChkBxClick(); };
    ErrorChkBx.OnClick = [this](auto&) { ErrorChkBxClick(); };
    SigBreakChkBx.OnClick = [this](auto&) { SigBreakChkBxClick(); };
    OrderCombo.OnChange = [this](auto&) { OrderComboChange(); };
    StaticChkBx.OnClick = [this](auto&) { StaticChkBxClick(); };
    StaticMemo.OnChange = [this](auto&) { StaticMemoChange(); };
    AboveRadio.OnClick = [this](auto&) { AboveRadioClick(); };
    BelowRadio.OnClick = [this](auto&) { BelowRadioClick(); };
    AutoTimer.OnTimer = [this](auto&) { AutoTimerTimer(); };
    PasteHotKeyEdit.OnChanging = [this](auto&, WORD value) { return PasteHotKeyEditChanging(value); };
    PasteHotKeyEdit.OnChange = [this](auto&) { PasteHotKeyEditChange(); };
}

void SettingsPanel::PlaceStaticTextAfter(const toolkit::Control& previous)
{
    StaticLabel.PlaceAfter(previous);
    StaticMemo.PlaceAfter(StaticLabel);
    StaticChkBx.PlaceAfter(StaticMemo);
    AboveRadio.PlaceAfter(StaticChkBx);
    BelowRadio.PlaceAfter(AboveRadio);
}

// ---- Start-up and exit ----

// Each control shows its value, and one that changes runs its handler as the user's change
// would: the value is written back, and its effects (the timer, the static-text field) follow.
void SettingsPanel::RestoreValues()
{
    const settings::SignatureProfile& profile = services_.Profile();
    const settings::ProgramOptions& options = services_.Options();
    RunStep([&] {
        MinutesEdit.SetValue(options.minutes);
        AutoTimer.SetInterval(MinutesToInterval(MinutesEdit.Value()));
    });
    RunStep([&] { OEFileEdit.SetText(profile.signatureFile); });
    RunStep([&] { PasteHotKeyEdit.SetValue(profile.pasteHotKey); });
    RunStep([&] {
        if (options.startupEntry)
            StartupChkBx.SetChecked(true);
    });
}

void SettingsPanel::RestoreSwitches()
{
    const settings::SignatureProfile& profile = services_.Profile();
    const settings::ProgramOptions& options = services_.Options();
    RunStep([&] { BalloonChkBx.SetChecked(options.changeBalloon); });
    RunStep([&] {
        const bool on = profile.staticTextOn;
        StaticChkBx.SetChecked(on);
        StaticMemo.SetEnabled(on);
    });
    RunStep([&] {
        if (profile.staticTextAbove)
            AboveRadio.SetChecked(true);
        else
            BelowRadio.SetChecked(true);
    });
    RunStep([&] { SigBreakChkBx.SetChecked(profile.delimiter); });
    RunStep([&] { OrderCombo.SetItemIndex(OrderIndex(profile.order)); });
    RunStep([&] { ErrorChkBx.SetChecked(options.errorBalloons); });
    RunStep([&] {
        const bool on = options.autoChange;
        AutoChkBx.SetChecked(on);
        AutoTimer.SetEnabled(on);
    });
}

void SettingsPanel::RestoreStaticText()
{
    RunStep([this] { StaticMemo.SetText(services_.Profile().staticText); });
}

void SettingsPanel::StopAutoChange()
{
    AutoTimer.OnTimer = nullptr;
    AutoTimer.SetEnabled(false);
}

void SettingsPanel::AutoTimerTimer()
{
    autoChange_();
}

// ---- Handlers ----
// Each keeps the control's value in the profile or the options and writes it at once.

void SettingsPanel::OEFileEditChange()
{
    services_.Profile().signatureFile = OEFileEdit.Text();
    services_.Store().SaveSignatureFile(services_.Profile().signatureFile);
}

void SettingsPanel::BrowseBtnClick()
{
    toolkit::FileDialogArgs args;
    args.owner = form_;
    args.title = "Create new or choose already existing signature file";
    args.filter = "All files|*.*";
    args.defaultExtension = "*.*";
    const std::optional<std::string> chosen = toolkit::RunSaveDialog(args);
    if (!chosen)
        return;
    OEFileEdit.SetText(*chosen);
    if (base::FileExists(*chosen))
        return;
    try {
        TextFileWriter created(*chosen);
        created.Close();
    } catch (const IoFailure& failure) {
        ReportFailure(reports_, failure, "Error:");
    }
}

void SettingsPanel::MailClientsBtnClick()
{
    ChooseFromMailClients();
}

// The chosen file goes into the field as if typed there, so it is written at once.
void SettingsPanel::ChooseFromMailClients()
{
    MailClientsWindow window(form_, mailclients::FindMailClientSignatures(), OEFileEdit.Text());
    if (const std::optional<std::string> chosen = window.Choose())
        OEFileEdit.SetText(*chosen);
}

void SettingsPanel::AutoChkBxClick()
{
    services_.Options().autoChange = AutoChkBx.Checked();
    services_.Store().SaveAutoChange(services_.Options().autoChange);
    AutoTimer.SetEnabled(AutoChkBx.Checked());
}

void SettingsPanel::MinutesEditChange()
{
    const int minutes = MinutesEdit.Value();
    services_.Options().minutes = minutes;
    services_.Store().SaveMinutes(minutes);
    AutoTimer.SetInterval(MinutesToInterval(minutes));
}

void SettingsPanel::StartupChkBxClick()
{
    services_.Options().startupEntry = StartupChkBx.Checked();
    services_.Store().SaveStartupEntry(services_.Options().startupEntry, settings::ProgramPath());
}

void SettingsPanel::BalloonChkBxClick()
{
    services_.Options().changeBalloon = BalloonChkBx.Checked();
    services_.Store().SaveChangeBalloon(services_.Options().changeBalloon);
}

void SettingsPanel::ErrorChkBxClick()
{
    services_.Options().errorBalloons = ErrorChkBx.Checked();
    services_.Store().SaveErrorBalloons(services_.Options().errorBalloons);
}

void SettingsPanel::SigBreakChkBxClick()
{
    services_.Profile().delimiter = SigBreakChkBx.Checked();
    services_.Store().SaveDelimiter(services_.Profile().delimiter);
}

void SettingsPanel::OrderComboChange()
{
    const int index = OrderCombo.ItemIndex();
    services_.Profile().order = index < 0 ? SignatureOrder::Random : OrderChoices[index].order;
    services_.Store().SaveOrder(services_.Profile().order);
}

// A refused combination is said at once, over the window; the field keeps the one it held,
// so nothing is written and the registration stays.
bool SettingsPanel::PasteHotKeyEditChanging(WORD value)
{
    const std::optional<std::string> refusal = PasteHotKeyRefusal(value);
    if (refusal)
        toolkit::ShowErrorDialog(toolkit::ShownOwner(form_), *refusal);
    return !refusal;
}

void SettingsPanel::PasteHotKeyEditChange()
{
    services_.Profile().pasteHotKey = PasteHotKeyEdit.Value();
    services_.Store().SavePasteHotKey(services_.Profile().pasteHotKey);
    if (pasteHotKeyChanged_)
        pasteHotKeyChanged_(PasteHotKeyEdit.Value());
}

void SettingsPanel::StaticChkBxClick()
{
    services_.Profile().staticTextOn = StaticChkBx.Checked();
    services_.Store().SaveStaticTextOn(services_.Profile().staticTextOn);
    StaticMemo.SetEnabled(StaticChkBx.Checked());
}

// The static text is saved with the side files at the end of the run; until then the
// profile holds it as typed, for the next signature.
void SettingsPanel::StaticMemoChange()
{
    services_.Profile().staticText = StaticMemo.Text();
}

// The two placement buttons are exclusive: whichever is clicked, the stored place follows
// the selected one. A radio button raises its click only when it becomes the selected one.
void SettingsPanel::AboveRadioClick()
{
    services_.Profile().staticTextAbove = true;
    services_.Store().SaveStaticTextAbove(true);
    BelowRadio.SetChecked(false);
}

void SettingsPanel::BelowRadioClick()
{
    services_.Profile().staticTextAbove = false;
    services_.Store().SaveStaticTextAbove(false);
    AboveRadio.SetChecked(false);
}
