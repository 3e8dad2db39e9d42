#pragma once
#include "players/NowPlayingSources.h"
#include "players/PlayingSong.h"
#include "toolkit/Application.h"
#include "toolkit/PopupMenu.h"

#include <functional>
#include <memory>
#include <optional>

class ProgramCommands;
namespace tray {
class TTrayIcon;
}

// The tray icon, made and set up by the program, its double-click, and its right-click menu:
// the playing song as the signature, a random change on demand, the window back from the
// tray, and the end of the program. A new menu item is an entry in the constructor and a
// handler here.
class TrayController {
public:
    explicit TrayController(ProgramCommands& commands);
    ~TrayController();

    // Start-up: the icon is made for the window form, then gets its hint, behaviour and
    // menu, and goes into the tray once the program first waits for input.
    void CreateTrayIcon(HWND form);
    void SetUpTrayIcon();
    // Exit: the icon leaves the tray; balloons then go nowhere.
    void RemoveTrayIcon() noexcept;
    // The icon from start-up to exit; null outside that time.
    tray::TTrayIcon* TrayIcon1() const noexcept { return trayIcon_.get(); }

    // The window back from the tray (the menu's "Restore", the icon's double-click).
    void ShowMainForm();

private:
    friend class TrayControllerProbe; // the tests' view of the menu

    void TrayMenuPopup();
    void SetSongItemClick();
    void ChangeSignatureItemClick();
    void CopySignatureItemClick();
    void RestoreItemClick();
    void ExitItemClick();
    void TrayIcon1DblClick();

    toolkit::PopupMenu TrayMenu;
    // The playing player's submenu ("Winamp" while none plays), holding "Set song as signature".
    toolkit::MenuItem* PlayerItem = nullptr;

    ProgramCommands& commands_;
    std::unique_ptr<tray::TTrayIcon> trayIcon_;
    NowPlayingSources nowPlaying_;
    // What the sources answered when the menu last opened; its song is what the submenu sets.
    std::optional<PlayingSong> playing_;
    std::optional<toolkit::ScopedIdleWork> iconIntoTray_;
};
