// The tray menu: the playing song as the signature, a random change on demand, the window
// back from the tray, and the end of the program.
#include "ui/Unit1.h"

#include "engine/NowPlaying.h"
#include "tray/TrayIcon.h"

void TForm1::BuildTrayMenu()
{
    WinampItem = &TrayMenu.Add("Winamp");
    WinampItem->Add("Set song as signature", [this](auto&) { SetSongItemClick(); });
    TrayMenu.Add("Change signature", [this](auto&) { ChangeSignatureItemClick(); });
    // Shown in bold; the tray icon also runs it after a double-click.
    TrayMenu.Add("Restore", [this](auto&) { RestoreItemClick(); }).Default = true;
    TrayMenu.Add("Exit", [this](auto&) { ExitItemClick(); });
    TrayMenu.OnPopup = [this](auto&) { TrayMenuPopup(); };
}

// Asked afresh each time the menu opens: the player may have started or stopped since. A
// player that does not answer counts as not playing, so the menu still opens at once.
void TForm1::TrayMenuPopup()
{
    WinampItem->Enabled = false;
    if (NowPlaying::IsPlaying())
        WinampItem->Enabled = true;
}

void TForm1::SetSongItemClick()
{
    Writer().NowPlaying(NowPlaying::SongTitle());
}

void TForm1::ChangeSignatureItemClick()
{
    RandomChange();
}

void TForm1::RestoreItemClick()
{
    if (tray::TTrayIcon* icon = TrayIcon1())
        icon->ShowMainForm();
}

// Runs from inside the tray icon's own menu: the icon is destroyed under it, which the icon
// is built to survive, and the application's loop ends once the menu has closed.
void TForm1::ExitItemClick()
{
    Exit();
}
