#pragma once
#include <windows.h>

#include <string>

// What the program as a whole does when one of the main window's parts asks, the one way
// from the tray menu, the auto-change timer and the hot keys to the signature writer and the
// clipboard. ProgramLife answers.
class ProgramCommands {
public:
    // While a random change runs, its reports and the last-resort box of a failure
    // included, auto-change ticks do nothing.
    virtual void RandomChange() = 0;
    // "Copy signature": a random change whose signature also goes onto the clipboard.
    virtual void CopySignature() = 0;
    // The paste hot key, holding that combination, was pressed: a random change pasted
    // where the keyboard focus is.
    virtual void PasteSignature(WORD hotKey) = 0;
    // The playing song (UTF-8) as the signature, under its player's heading.
    virtual void SetSong(const std::string& player, const std::string& song) = 0;
    // The icon leaves the tray, the timer stops, the database list, the static text and the
    // window position are saved, the settings store is released and the application
    // terminates. A failing step is shown by the last-resort handler and the remaining steps
    // still run, so the program always ends.
    virtual void Exit() = 0;

protected:
    ~ProgramCommands() = default;
};
