#pragma once

// What the program as a whole does when one of the main window's parts asks: a random
// change of the signature, and the end of the program. ProgramLife answers.
class ProgramCommands {
public:
    // While a random change runs, its reports and the last-resort box of a failure
    // included, auto-change ticks do nothing.
    virtual void RandomChange() = 0;
    // The icon leaves the tray, the timer stops, the database list, the static text and the
    // window position are saved, the settings store is released and the application
    // terminates. A failing step is shown by the last-resort handler and the remaining steps
    // still run, so the program always ends.
    virtual void Exit() = 0;

protected:
    ~ProgramCommands() = default;
};
