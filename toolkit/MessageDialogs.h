#pragma once
#include <windows.h>

#include <string>

namespace toolkit {

// The program's modal message dialogs: the text beside the kind's icon, the buttons in one
// row below, in the system's message font, centred on the screen. The owner is disabled
// while the dialog is open; without an owner every window of the thread is, and the dialog,
// with a taskbar button of its own, asks for the foreground. A hidden owner (the program
// in the tray) counts as none.

// The window when it is shown, else null: a box owned by a hidden window has no taskbar
// button and can stay behind other programs' windows unseen.
HWND ShownOwner(HWND window) noexcept;

// Caption "Error", stop icon, one "OK" button; Enter, Escape and closing all close it.
void ShowErrorDialog(HWND owner, const std::string& text);

// Caption "Information", information icon, one "OK" button; Enter, Escape and closing all
// close it.
void ShowInformationDialog(HWND owner, const std::string& text);
// Caption "Confirm", question-mark icon, buttons "&Yes" (the default) and "&No". True only
// for "&Yes" (click, Enter, Y); "&No", Escape and closing the dialog answer false.
bool AskQuestion(HWND owner, const std::string& question);

} // namespace toolkit
