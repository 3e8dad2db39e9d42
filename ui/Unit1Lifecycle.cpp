// The main window's life: start-up, first paint, close request, auto-change timer, exit.
#include "ui/Unit1.h"

#include "engine/SignatureDatabase.h"
#include "base/IntegerText.h"
#include "settings/ProgramLocation.h"
#include "settings/RegistryStore.h"
#include "settings/SettingValues.h"
#include "settings/SettingsPlaces.h"
#include "settings/SideFiles.h"
#include "settings/StartupEntry.h"
#include "settings/WholeFile.h"
#include "toolkit/Application.h"
#include "toolkit/ReachablePlace.h"
#include "tray/TrayIcon.h"
#include "ui/ProgramState.h"

#include <stdexcept>
#include <utility>

namespace {

// Sets a flag for a scope and gives it back its earlier value, so a change started inside
// another one (from the tray menu while a report of the first is open) leaves it set.
class FlagSetter {
public:
    explicit FlagSetter(bool& flag) noexcept : flag_(flag), previous_(std::exchange(flag, true)) {}
    ~FlagSetter() { flag_ = previous_; }
    FlagSetter(const FlagSetter&) = delete;
    FlagSetter& operator=(const FlagSetter&) = delete;

private:
    bool& flag_;
    bool previous_;
};

} // namespace

// Start-up, in its fixed order. A step that fails is shown by the last-resort handler and
// the steps after it still run: a bad stored position must not keep the database list and
// the static text from being loaded (and then lost at the next exit).
void TForm1::FormCreate()
{
    firstPaint_ = true;
    // The window was made with this caption already; should the system refuse it here, the
    // caption shown is still the same.
    SetWindowTextA(Handle(), CaptionText);
    RunStep([this] { Program().trayIcon = std::make_unique<tray::TTrayIcon>(Handle()); });
    RunStep([] {
        // Decided once for the run: a setting must not be written to one place and looked
        // for in another later on.
        Program().places = std::make_unique<settings::SettingsPlaces>(settings::ProgramDirectory());
        Program().settings = std::make_unique<settings::RegistryStore>(Program().places->SettingsStore());
    });
    if (settings::RegistryStore* store = Settings()) {
        RunStep([this, store] {
            MinutesEdit.SetValue(settings::ReadMinutes(*store));
            AutoTimer.SetInterval(MinutesToInterval(MinutesEdit.Value()));
        });
        RunStep([this, store] { OEFileEdit.SetText(settings::ReadSignatureFilePath(*store)); });
        RunStep([this] {
            if (settings::StartupEntryPresent(*Places()))
                StartupChkBx.SetChecked(true);
        });
    }
    ProgramDatabase().SetDatabaseOpen(false);
    if (Settings()) {
        RunStep([this] { RestoreWindowPosition(); });
        RestoreSwitches();
    }
    LoadSideFiles();
    RunStep([this] { SetUpTrayIcon(); });
}

void TForm1::RestoreWindowPosition()
{
    const settings::RegistryStore& store = *Settings();
    const std::string top = store.ReadString(settings::SettingsKey, settings::TopValue, "");
    const std::string left = store.ReadString(settings::SettingsKey, settings::LeftValue, "");
    if (top.empty() || left.empty())
        return;
    RECT place{};
    POINT client{0, 0};
    if (!GetWindowRect(Handle(), &place) || !ClientToScreen(Handle(), &client))
        throw std::runtime_error("The window's place cannot be read");
    // A stored place may be off every screen now (a monitor removed, a resolution lowered):
    // the window then comes into the nearest screen rather than out of the user's reach.
    const std::vector<RECT> screens = toolkit::MonitorWorkAreas();
    const SIZE size{place.right - place.left, place.bottom - place.top};
    const int titleHeight = client.y - place.top;
    const auto moveTo = [&](POINT corner) {
        const POINT reachable = toolkit::ReachablePlace(corner, size, titleHeight, screens);
        // A move the system refuses leaves the window where it is; nothing else depends on it.
        SetWindowPos(Handle(), nullptr, reachable.x, reachable.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    };
    // "Top" first: when "Left" then fails to convert, the window has moved down only.
    const int newTop = base::ParseInteger(top);
    moveTo(POINT{place.left, newTop});
    const int newLeft = base::ParseInteger(left);
    moveTo(POINT{newLeft, newTop});
}

void TForm1::RestoreSwitches()
{
    const settings::RegistryStore& store = *Settings();
    RunStep([&] { BalloonChkBx.SetChecked(settings::ReadSwitch(store, settings::BalloonValue)); });
    RunStep([&] {
        const bool on = settings::ReadSwitch(store, settings::StaticValue);
        StaticChkBx.SetChecked(on);
        StaticMemo.SetEnabled(on);
    });
    RunStep([&] {
        if (settings::ReadStaticAbove(store))
            AboveRadio.SetChecked(true);
        else
            BelowRadio.SetChecked(true);
    });
    RunStep([&] { SigBreakChkBx.SetChecked(settings::ReadSigBreak(store)); });
    RunStep([&] { ErrorChkBx.SetChecked(settings::ReadSwitch(store, settings::ErrorValue)); });
    RunStep([&] {
        const bool on = settings::ReadSwitch(store, settings::AutoChangeValue);
        AutoChkBx.SetChecked(on);
        AutoTimer.SetEnabled(on);
    });
}

void TForm1::LoadSideFiles()
{
    const settings::SettingsPlaces* places = Places();
    if (!places)
        return; // start-up could not even find the program's own folder, and has said so
    const std::string listPath = places->SideFileToRead(settings::DatabaseListFileName);
    databaseListUnread_ = !RunStep([&] {
        if (!base::FileExists(listPath))
            return;
        const std::vector<std::string> entries = settings::LoadList(listPath);
        DBList.Clear();
        for (const std::string& entry : entries)
            DBList.Add(entry);
    });
    const std::string staticPath = places->SideFileToRead(settings::StaticTextFileName);
    staticTextUnread_ = !RunStep([&] {
        if (base::FileExists(staticPath))
            StaticMemo.SetText(settings::LoadStaticText(staticPath));
    });
}

void TForm1::SetUpTrayIcon()
{
    tray::TTrayIcon* icon = TrayIcon1();
    if (!icon)
        return;
    icon->SetHint(TrayHintText);
    icon->MinimizeToTray = true;
    icon->ShowformOnTrayIconClick = false;
    icon->SetPersistenttrayIcon(true);
    icon->OnDblClick = [this](tray::TTrayIcon&) { TrayIcon1DblClick(); };
    icon->SetPopupMenu(&TrayMenu);
}

void TForm1::FormPaint()
{
    if (!firstPaint_)
        return;
    firstPaint_ = false;
    if (settings::StartsMinimised(base::CommandLineArguments()))
        toolkit::Application::Instance().Minimize();
}

bool TForm1::FormCloseQuery()
{
    toolkit::Application::Instance().Minimize();
    return false;
}

void TForm1::TrayIcon1DblClick()
{
    if (tray::TTrayIcon* icon = TrayIcon1())
        icon->ShowMainForm();
}

void TForm1::AutoTimerTimer()
{
    // A tick while an earlier change still runs (its report dialog or last-resort box open,
    // say) would start a change inside it, and left alone these would pile up without end.
    if (randomChangeRunning_)
        return;
    RandomChange();
}

void TForm1::RandomChange()
{
    FlagSetter running(randomChangeRunning_);
    // A failure the writer lets through is shown here, while the change still counts as
    // running, so that ticks during its box wait for it to close.
    RunStep([this] { writer_.RandomChange(); });
}

void TForm1::Exit()
{
    EndProgram(RunStep);
}

// The session ends (log-off, shutdown, a restart for updates): the program goes as Exit
// takes it, but silently, since no box can be answered any more and the system may end the
// process as soon as this returns. Every top-level window of the program hears of it; the
// first one does the work.
void TForm1::EndSession()
{
    if (ended_)
        return;
    EndProgram(RunStepSilently);
}

void TForm1::EndProgram(const StepRunner& run)
{
    ended_ = true;
    run([] { Program().trayIcon.reset(); });
    run([this] {
        AutoTimer.OnTimer = nullptr;
        AutoTimer.SetEnabled(false);
    });
    SaveForNextStart(run);
    run([] {
        Program().settings.reset();
        Program().places.reset();
    });
    toolkit::Application::Instance().Terminate();
}

bool TForm1::RunStepSilently(const std::function<void()>& step) noexcept
{
    try {
        step();
        return true;
    } catch (...) {
        // Nobody is left to read a box: the saves replace their files whole or not at all,
        // so a failed one leaves the previous file as it was.
        return false;
    }
}

void TForm1::SaveForNextStart(const StepRunner& run)
{
    if (const settings::SettingsPlaces* places = Places()) {
        using settings::DatabaseListFileName, settings::StaticTextFileName;
        if (!databaseListUnread_)
            run([&] { settings::SaveList(places->SideFileToSave(DatabaseListFileName), DBList.Items()); });
        if (!staticTextUnread_)
            run([&] { settings::SaveStaticText(places->SideFileToSave(StaticTextFileName), StaticMemo.Text()); });
    } // else start-up could not find the program's folder: there is no place for the side files
    run([this] { SaveWindowPosition(); });
}

void TForm1::SaveWindowPosition()
{
    settings::RegistryStore* store = Settings();
    if (!store)
        return;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    RECT place{};
    // A minimised window's rectangle is its icon's; its normal place is what comes back.
    if (IsIconic(Handle()) && GetWindowPlacement(Handle(), &placement))
        place = placement.rcNormalPosition;
    else if (!GetWindowRect(Handle(), &place))
        throw std::runtime_error("The window's place cannot be read");
    settings::WriteWindowPosition(*store, place.top, place.left);
}
