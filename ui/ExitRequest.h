#pragma once
#include <windows.h>

// The message by which another process, the setup program or the uninstaller, asks a
// running Varnquill to end through its own "Exit": the database list, the static text and
// the window position are then saved before the program's files are replaced or removed.
// Sent (posted) to the main window, whose class is MainWindowClassName (MainWindowClass.h).
inline constexpr const char* ExitRequestName = "Varnquill.Exit";

// True for the registered exit request. Never true when the system refused to register it,
// so that no other message (WM_NULL is 0) ends the program.
bool IsExitRequest(UINT message) noexcept;
