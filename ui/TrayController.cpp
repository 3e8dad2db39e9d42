#include "ui/TrayController.h"

#include "base/Version.h"
#include "engine/NowPlaying.h"
#include "engine/SignatureWriter.h"
#include "tray/TrayIcon.h"
#include "ui/ProgramCommands.h"
#include "ui/ProgramState.h"

namespace {

constexpr const char* TrayHintText = "qmz Varnquill v" VARNQUILL_VERSION;

} // namespace

TrayController::TrayController(ProgramState& program, SignatureWriter& writer, ProgramCommands& commands)
    : program_(program), writer_(writer), commands_(commands)
{
    WinampItem = &TrayMenu.Add("Winamp");
    WinampItem->Add("Set song as signature", [this](auto&) { SetSongItemClick(); });
    TrayMenu.Add("Change signature", [this](auto&) { ChangeSignatureItemClick(); });
    // Shown in bold; the tray icon also runs it after a double-click.
    TrayMenu.Add("Restore", [this](auto&) { RestoreItemClick(); }).Default = true;
    TrayMenu.Add("Exit", [this](auto&) { ExitItemClick(); });
    TrayMenu.OnPopup = [this](auto&) { TrayMenuPopup(); };
}

void TrayController::SetUpTrayIcon()
{
    tray::TTrayIcon* icon = program_.trayIcon.get();
    if (!icon)
        return;
    icon->SetHint(TrayHintText);
    icon->MinimizeToTray = true;
    icon->ShowformOnTrayIconClick = false;
    icon->SetPersistenttrayIcon(true);
    icon->OnDblClick = [this](tray::TTrayIcon&) { TrayIcon1DblClick(); };
    icon->SetPopupMenu(&TrayMenu);
}

// Asked afresh each time the menu opens: the player may have started or stopped since. A
// player that does not answer counts as not playing, so the menu still opens at once.
void TrayController::TrayMenuPopup()
{
    WinampItem->Enabled = false;
    if (NowPlaying::IsPlaying())
        WinampItem->Enabled = true;
}

void TrayController::SetSongItemClick()
{
    writer_.NowPlaying(NowPlaying::SongTitle());
}

void TrayController::ChangeSignatureItemClick()
{
    commands_.RandomChange();
}

void TrayController::RestoreItemClick()
{
    if (tray::TTrayIcon* icon = program_.trayIcon.get())
        icon->ShowMainForm();
}

void TrayController::TrayIcon1DblClick()
{
    if (tray::TTrayIcon* icon = program_.trayIcon.get())
        icon->ShowMainForm();
}

// Runs from inside the tray icon's own menu: the icon is destroyed under it, which the icon
// is built to survive, and the application's loop ends once the menu has closed.
void TrayController::ExitItemClick()
{
    commands_.Exit();
}
