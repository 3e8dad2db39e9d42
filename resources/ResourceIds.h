#pragma once
// Resource numbers shared by the resource script and the program. Only preprocessor
// definitions here: the resource compiler reads this file too.

// The program icon (16, 20, 24, 32, 40, 48, 64 and 256 pixels): caption, taskbar button and
// tray, at every scaling.
#define IDI_VARNQUILL 1
// The banner shown in the main window: a 360 x 53 JPEG, decoded at run time, and the same
// banner drawn at twice that size for high pixel densities.
#define IDR_BANNER 101
#define IDR_BANNER_LARGE 102
