#pragma once
// Resource numbers shared by the resource script and the program. Only preprocessor
// definitions here: the resource compiler reads this file too.

// The program icon (16, 32 and 48 pixels): caption, taskbar button and tray.
#define IDI_VARNQUILL 1
// The banner shown in the main window: a 360 x 53 JPEG, decoded at run time.
#define IDR_BANNER 101
