#pragma once
#include "engine/ClipboardSignature.h"
#include "ui/ProgramCommands.h"
#include "ui/SignatureClipboard.h"
#include "ui/Steps.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

class SettingsPanel;
class ProgramServices;
class Reports;
class SignatureWriter;

// What runs between start-up and the end: the program's commands (the random change, the
// signature onto the clipboard and pasted, the song), what is saved at the end, and the end
// itself, by Exit or by the session's end.
class ProgramLife : public ProgramCommands {
public:
    // removeTrayIcon takes the tray icon away, the end's first step.
    ProgramLife(HWND form, ProgramServices& services, SignatureWriter& writer, SettingsPanel& settings,
                Reports& reports, std::function<void()> removeTrayIcon);

    void RandomChange() override;
    void CopySignature() override;
    void PasteSignature(WORD hotKey) override;
    void SetSong(const std::string& player, const std::string& song) override;
    bool RandomChangeRunning() const noexcept { return randomChangeRunning_; }
    // An auto-change tick: a random change unless one runs already.
    void AutoChange();

    void Exit() override;
    // The user's session ends: the user's clipboard back first, then the same steps as
    // Exit, once, with nothing shown.
    void EndSession();
    bool Ended() const noexcept { return ended_; }

private:
    // The random change of "Copy signature" and the paste hot key, in the clipboard's forms
    // composed from the signature as it went out; nothing after a report.
    std::optional<ClipboardSignature> SignatureToCopy();
    // Exit's steps, each run by run.
    void EndProgram(StepRunner run);
    // What the next start finds again, in this order: the database list, the static text,
    // the window position.
    void SaveForNextStart(StepRunner run);

    HWND form_;
    ProgramServices& services_;
    SignatureWriter& writer_;
    SettingsPanel& settings_;
    std::function<void()> removeTrayIcon_;
    bool randomChangeRunning_ = false;
    bool ended_ = false; // Exit or the session's end has run
    SignatureClipboard clipboard_;
};
