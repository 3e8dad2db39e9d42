#pragma once
#include <windows.h>

#include <string>
#include <vector>

// What the desktop shows of a process, seen from outside it: its top-level windows, the
// controls of a window, message boxes, and the icons in Wine's notification area.
namespace e2e {

std::vector<HWND> TopLevelWindowsOf(DWORD processId);
std::vector<HWND> VisibleTopLevelWindowsOf(DWORD processId);
// The first top-level window of the process with that class, or null.
HWND TopLevelWindowOf(DWORD processId, const std::string& className);

std::string ClassOf(HWND window);
std::string TextOf(HWND window); // WM_GETTEXT, which crosses processes

// The control of that class (any depth) whose top-left corner is at this point of the
// window's client area; null when there is none.
HWND ControlAt(HWND window, const std::string& className, int x, int y);
// The control of that class (any depth) with exactly this text; null when there is none.
HWND ControlWithText(HWND window, const std::string& className, const std::string& text);
// Every control of that class (any depth), in creation order.
std::vector<HWND> ControlsOf(HWND window, const std::string& className);

// The window's place on the screen and its client area's size.
RECT ScreenRect(HWND window);
SIZE ClientSize(HWND window);
// A control's top-left corner and size in its window's client area.
RECT RectIn(HWND window, HWND control);

bool IsChecked(HWND button);
// A click as the user's: the button takes it through its own procedure and tells its parent.
void Click(HWND button);
// Replaces an edit control's text; a single-line edit tells its parent of the change.
void SetText(HWND control, const std::string& text);

// Message boxes and dialogs (class "#32770") the process has open.
std::vector<HWND> DialogsOf(DWORD processId);
// The text a message box shows: its longest static text.
std::string DialogMessage(HWND dialog);
// Presses the dialog's button with that text, e.g. "OK" or "&No".
void PressDialogButton(HWND dialog, const std::string& buttonText);

// A list box's rows.
int ListCount(HWND list);
std::string ListItem(HWND list, int index);

// How many icons Wine's own notification area (used where there is no system tray of the
// X desktop, as under Xvfb) shows.
int TrayIconCount();
// Whether Wine's tray shows a balloon with this text: a visible tooltip window holding it.
bool BalloonShown(const std::string& text);

} // namespace e2e
