#include "ui/TrayController.h"

#include "base/Version.h"
#include "tray/TrayIcon.h"
#include "ui/ProgramCommands.h"

#include <string>

namespace {

constexpr const char* TrayHintText = "qmz Varnquill v" VARNQUILL_VERSION;
// The submenu's caption while no player plays.
constexpr const char* NoPlayerCaption = "Winamp";

// A player's name as a menu shows it: an ampersand in it is the character, not a mnemonic.
std::string MenuCaption(const std::string& name)
{
    std::string caption;
    for (const char c : name) {
        if (c == '&')
            caption += '&';
        caption += c;
    }
    return caption;
}

} // namespace

TrayController::TrayController(ProgramCommands& commands) : commands_(commands)
{
    PlayerItem = &TrayMenu.Add(NoPlayerCaption);
    PlayerItem->Add("Set song as signature", [this](auto&) { SetSongItemClick(); });
    TrayMenu.Add("Change signature", [this](auto&) { ChangeSignatureItemClick(); });
    TrayMenu.Add("Copy signature", [this](auto&) { CopySignatureItemClick(); });
    // Shown in bold; the tray icon also runs it after a double-click.
    TrayMenu.Add("Restore", [this](auto&) { RestoreItemClick(); }).Default = true;
    TrayMenu.Add("Exit", [this](auto&) { ExitItemClick(); });
    TrayMenu.OnPopup = [this](auto&) { TrayMenuPopup(); };
}

TrayController::~TrayController() = default;

void TrayController::CreateTrayIcon(HWND form)
{
    trayIcon_ = std::make_unique<tray::TTrayIcon>(form);
}

void TrayController::RemoveTrayIcon() noexcept
{
    iconIntoTray_.reset();
    trayIcon_.reset();
}

void TrayController::SetUpTrayIcon()
{
    tray::TTrayIcon* icon = trayIcon_.get();
    if (!icon)
        return; // start-up could not make it, and has said so
    icon->SetHint(TrayHintText);
    icon->MinimizeToTray = true;
    icon->ShowformOnTrayIconClick = false;
    icon->OnDblClick = [this](tray::TTrayIcon&) { TrayIcon1DblClick(); };
    icon->SetPopupMenu(&TrayMenu);
    // The shell answers an added icon only when its tray has drawn it, which under a busy
    // shell takes longer than all the rest of the start-up: the window is shown first. The
    // icon is the program's own until the window goes, and so is this work.
    iconIntoTray_.emplace([this] {
        if (trayIcon_)
            trayIcon_->SetPersistenttrayIcon(true);
    });
}

// Asked afresh each time the menu opens, once for the whole menu: a player may have started
// or stopped since. A player that does not answer counts as not playing, so the menu still
// opens within a second.
void TrayController::TrayMenuPopup()
{
    playing_ = nowPlaying_.Ask();
    PlayerItem->Caption = playing_ ? MenuCaption(playing_->player) : NoPlayerCaption;
    PlayerItem->Enabled = playing_.has_value();
}

// The song the menu was opened with: the submenu named its player.
void TrayController::SetSongItemClick()
{
    if (playing_)
        commands_.SetSong(playing_->player, playing_->song);
}

void TrayController::ChangeSignatureItemClick()
{
    commands_.RandomChange();
}

void TrayController::ShowMainForm()
{
    if (trayIcon_)
        trayIcon_->ShowMainForm();
}

void TrayController::CopySignatureItemClick()
{
    commands_.CopySignature();
}

void TrayController::RestoreItemClick()
{
    ShowMainForm();
}

void TrayController::TrayIcon1DblClick()
{
    ShowMainForm();
}

// Runs from inside the tray icon's own menu: the icon is destroyed under it, which the icon
// is built to survive, and the application's loop ends once the menu has closed.
void TrayController::ExitItemClick()
{
    commands_.Exit();
}
