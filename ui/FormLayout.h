#pragma once
#include "toolkit/Control.h"

#include <windows.h>

#include <string>

// Where the main window and its groups stand, in pixels as designed at 96 DPI. Each part
// places its own controls within its group in its constructor; the window's frame and the
// groups' places are here.
namespace layout {

inline constexpr DWORD FrameStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
inline constexpr int DesignedLeft = 193;
inline constexpr int DesignedTop = 106;
inline constexpr int ClientWidth = 754;
inline constexpr int ClientHeight = 572;

// The three groups stacked top to bottom over the whole client area.
inline constexpr int SettingsTop = 0;
inline constexpr int SettingsHeight = 137;
inline constexpr int DatabaseTop = SettingsTop + SettingsHeight;
inline constexpr int DatabaseHeight = 307;
inline constexpr int DatabasesTop = DatabaseTop + DatabaseHeight;
inline constexpr int DatabasesHeight = ClientHeight - DatabasesTop;

// Room a group's frame takes around a control that fills the group.
inline constexpr int FrameSide = 2;
inline constexpr int FrameCaption = 15;

inline constexpr DWORD Disabled = WS_TABSTOP | WS_DISABLED;

// A control at (left, top) within the group that starts at groupTop. Controls are siblings
// of their group box in the form's client area; a width or height of 0 sizes a label to
// its text.
toolkit::ControlArgs At(HWND form, int groupTop, int left, int top, int width, int height,
                        std::string text = {}, DWORD style = WS_TABSTOP);
// A group box across the whole client area.
toolkit::ControlArgs Group(HWND form, int top, int height, std::string caption);

} // namespace layout
