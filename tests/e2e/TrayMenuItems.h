#pragma once
// How many presses of the down key reach each item of the freshly opened tray menu:
// "Winamp", "Change signature", "Copy signature", "Restore", "Exit".
constexpr int WinampPresses = 1;
constexpr int ChangeSignaturePresses = 2;
constexpr int CopySignaturePresses = 3;
constexpr int RestorePresses = 4;
constexpr int ExitPresses = 5;
