// The "Settings" group's handlers and the static-text switches: every change is written to
// the registry at once.
#include "ui/Unit1.h"

#include "engine/IoFailure.h"
#include "engine/TextFileWriter.h"
#include "settings/ProgramLocation.h"
#include "settings/RegistryStore.h"
#include "settings/SettingValues.h"
#include "settings/SettingsPlaces.h"
#include "settings/StartupEntry.h"
#include "settings/WholeFile.h"
#include "toolkit/FileDialogs.h"

UINT TForm1::MinutesToInterval(int minutes) noexcept
{
    return static_cast<UINT>(minutes) * 60000u;
}

// The handlers write through the settings store; after Exit has released it there is
// nothing left to write to.

void TForm1::OEFileEditChange()
{
    if (settings::RegistryStore* store = Settings())
        settings::WriteSignatureFilePath(*store, OEFileEdit.Text());
}

void TForm1::BrowseBtnClick()
{
    toolkit::FileDialogArgs args;
    args.owner = Handle();
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

void TForm1::AutoChkBxClick()
{
    if (settings::RegistryStore* store = Settings())
        settings::WriteSwitch(*store, settings::AutoChangeValue, AutoChkBx.Checked());
    AutoTimer.SetEnabled(AutoChkBx.Checked());
}

void TForm1::MinutesEditChange()
{
    const int minutes = MinutesEdit.Value();
    if (settings::RegistryStore* store = Settings())
        settings::WriteMinutes(*store, minutes);
    AutoTimer.SetInterval(MinutesToInterval(minutes));
}

void TForm1::StartupChkBxClick()
{
    const settings::SettingsPlaces* places = Places();
    if (!places)
        return;
    if (StartupChkBx.Checked())
        settings::AddStartupEntry(*places, settings::ProgramPath());
    else
        settings::RemoveStartupEntry(*places);
}

void TForm1::BalloonChkBxClick()
{
    if (settings::RegistryStore* store = Settings())
        settings::WriteSwitch(*store, settings::BalloonValue, BalloonChkBx.Checked());
}

void TForm1::ErrorChkBxClick()
{
    if (settings::RegistryStore* store = Settings())
        settings::WriteSwitch(*store, settings::ErrorValue, ErrorChkBx.Checked());
}

void TForm1::SigBreakChkBxClick()
{
    if (settings::RegistryStore* store = Settings())
        settings::WriteSwitch(*store, settings::SigBreakValue, SigBreakChkBx.Checked());
}

void TForm1::StaticChkBxClick()
{
    if (settings::RegistryStore* store = Settings())
        settings::WriteSwitch(*store, settings::StaticValue, StaticChkBx.Checked());
    StaticMemo.SetEnabled(StaticChkBx.Checked());
}

// The two placement buttons are exclusive: whichever is clicked, the stored place follows
// the selected one.
// A radio button raises its click only when it becomes the selected one.
void TForm1::AboveRadioClick()
{
    if (settings::RegistryStore* store = Settings())
        settings::WriteStaticPlace(*store, true);
    BelowRadio.SetChecked(false);
}

void TForm1::BelowRadioClick()
{
    if (settings::RegistryStore* store = Settings())
        settings::WriteStaticPlace(*store, false);
    AboveRadio.SetChecked(false);
}
