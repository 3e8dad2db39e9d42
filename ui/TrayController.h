#pragma once
#include "engine/NowPlayingSources.h"
#include "engine/PlayingSong.h"
#include "toolkit/Application.h"
#include "toolkit/PopupMenu.h"

#include <functional>
#include <optional>

class ProgramCommands;
class SignatureWriter;
struct ProgramState;

// The tray icon as this program sets it up, its double-click, and its right-click menu:
// the playing song as the signature, a random change on demand, the window back from the
// tray, and the end of the program. A new menu item is an entry in the constructor and a
// handler here.
class TrayController {
public:
    TrayController(ProgramState& program, SignatureWriter& writer, ProgramCommands& commands);

    toolkit::PopupMenu TrayMenu;
    // The playing player's submenu ("Winamp" while none plays), holding "Set song as signature".
    toolkit::MenuItem* PlayerItem = nullptr;

    void TrayMenuPopup();
    void SetSongItemClick();
    void ChangeSignatureItemClick();
    void CopySignatureItemClick();
    void RestoreItemClick();
    void ExitItemClick();
    void TrayIcon1DblClick();

    // Start-up: the icon made at start-up gets its hint, behaviour and menu, and goes into
    // the tray once the program first waits for input.
    void SetUpTrayIcon();
    // What "Copy signature" runs.
    void OnCopySignature(std::function<void()> copy) { copySignature_ = std::move(copy); }

private:
    ProgramState& program_;
    SignatureWriter& writer_;
    ProgramCommands& commands_;
    NowPlayingSources nowPlaying_;
    // What the sources answered when the menu last opened; its song is what the submenu sets.
    std::optional<PlayingSong> playing_;
    std::optional<toolkit::ScopedIdleWork> iconIntoTray_;
    std::function<void()> copySignature_;
};
