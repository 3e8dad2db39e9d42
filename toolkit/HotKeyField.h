#pragma once
#include "toolkit/Control.h"

#include <functional>
#include <string>

namespace toolkit {

class HotKeyField;

// Asked before the field takes a combination the user entered: false refuses it.
using HotKeyCheck = std::function<bool(HotKeyField& sender, WORD value)>;

// The common hot-key field: the user presses a combination and the field shows and holds it.
// Its value is the control's own: the virtual key in the low byte, the HOTKEYF_ flags in the
// next; 0 is none. A combination needs Ctrl or Alt, so one meant for the whole system never
// takes a key away from typing; the field adds Ctrl+Alt to a key pressed alone or with Shift.
// Backspace or Delete, pressed alone, clears it. Modifiers alone are no combination: the
// field holds the one it had, and shows it again once they are up or the focus has left.
// OnChanging is asked for each new combination the user enters (not for SetValue, not for
// clearing); a refused one is not taken, and the field shows the one it holds again.
// OnChange is raised by every change of the value: the user's, and SetValue with another
// value (once); SetValue with the value it holds raises nothing.
class HotKeyField : public Control {
public:
    explicit HotKeyField(const ControlArgs& args);

    WORD Value() const;
    void SetValue(WORD value);

    HotKeyCheck OnChanging;
    NotifyEvent OnChange;

protected:
    bool HandleCommand(WORD code) override;
    LRESULT Filter(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // What the control shows: the value held, or the user's keys on the way to a new one.
    WORD Shown() const;
    // value becomes the one held; OnChange is raised when it is another.
    void Take(WORD value);
    // The control shows the value held again.
    void ShowHeld();
    // The control counts the modifiers from the key messages it sees; one released while
    // another window had the focus (Shift+Tab out, a message box) it would count as held.
    void ForgetReleasedModifiers();

    WORD held_ = 0; // the value: the one the last change event saw
};

// How a value of the field reads in a message, as "Ctrl+Alt+S"; empty for none.
std::string HotKeyText(WORD value);

// The modifiers RegisterHotKey takes (MOD_) for the field's flags (HOTKEYF_).
UINT HotKeyModifiers(WORD value);

// Whether the value is one of the system's own keys for editing (Ctrl+C, Ctrl+V, Ctrl+X,
// Ctrl+Z, Ctrl+Y, Ctrl+A, Ctrl+Insert, Shift+Insert, Shift+Delete), which every program's
// fields take as copy, paste, cut, undo, redo and select all: a hot key for the whole system
// on one of them takes that key away from all of them.
bool IsSystemEditingKey(WORD value);

} // namespace toolkit
