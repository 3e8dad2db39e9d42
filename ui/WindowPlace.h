#pragma once
#include <windows.h>

namespace settings {
class SettingsStore;
struct ProgramOptions;
}

// The main window's place on the screen, kept in "Top" and "Left" from one run to the next.
// Failures throw, for the start-up or exit step that runs them to show.

// Moves the window to the place the options hold as stored, brought within reach of the
// screens there are now; without both values it stays where it was made.
void RestoreWindowPlace(HWND window, const settings::ProgramOptions& options);
// Keeps where the window stands, or would stand were it not minimised.
void SaveWindowPlace(HWND window, settings::SettingsStore& store);
