#pragma once

// The main window's class name: the setup program and the uninstaller find a running
// Varnquill by it, and the build hands it to their script, so it is named once, here.
inline constexpr const char* MainWindowClassName = "TForm1";
