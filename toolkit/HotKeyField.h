#pragma once
#include "toolkit/Control.h"

#include <string>

namespace toolkit {

// The common hot-key field: the user presses a combination and the field shows and holds it.
// Its value is the control's own: the virtual key in the low byte, the HOTKEYF_ flags in the
// next; 0 is none. A combination needs Ctrl or Alt, so one meant for the whole system never
// takes a key away from typing; the field adds Ctrl+Alt to a key pressed alone or with Shift.
// Backspace or Delete, pressed alone, clears it.
// OnChange is raised by every change of the value: the user's, and SetValue with another
// value (once); SetValue with the value it holds raises nothing.
class HotKeyField : public Control {
public:
    explicit HotKeyField(const ControlArgs& args);

    WORD Value() const;
    void SetValue(WORD value);

    NotifyEvent OnChange;

protected:
    bool HandleCommand(WORD code) override;
    LRESULT Filter(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    WORD shownValue_ = 0; // the value the last change event saw
};

// How a value of the field reads in a message, as "Ctrl+Alt+S"; empty for none.
std::string HotKeyText(WORD value);

// The modifiers RegisterHotKey takes (MOD_) for the field's flags (HOTKEYF_).
UINT HotKeyModifiers(WORD value);

} // namespace toolkit
