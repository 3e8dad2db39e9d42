#pragma once
#include "toolkit/Application.h"

#include <windows.h>

#include <optional>
#include <string>

class Reports;

// Why value cannot be the paste hot key, or nothing: one of the system's own editing keys
// would take copy, paste or undo away from every program, this one's own paste included.
std::optional<std::string> PasteHotKeyRefusal(WORD value);

// The paste hot key, registered for the main window, which hears it as WM_HOTKEY with Id.
// One combination at a time; it is given up when this goes.
class PasteHotKey {
public:
    static constexpr int Id = 1;

    PasteHotKey(HWND form, Reports& reports);
    ~PasteHotKey();
    PasteHotKey(const PasteHotKey&) = delete;
    PasteHotKey& operator=(const PasteHotKey&) = delete;

    // Start-up: the stored combination (the hot-key field's value, 0 for none). One the
    // system or another program holds, or one refused (PasteHotKeyRefusal) but stored by an
    // earlier version, is said in an error balloon, when error balloons are on, once the
    // icon is in the tray; never in a box, as nobody has just chosen it.
    void Start(WORD value);
    // The user has just chosen value in the field (0 clears it): it replaces the one held.
    // One that is taken is said in a box over the window, naming it; the value is kept all
    // the same, so it is tried again at the next start.
    void Choose(WORD value);

    // Whether a WM_HOTKEY's identifier is this hot key's while it is held.
    bool Pressed(WPARAM id) const noexcept { return id == Id && registered_ != 0; }
    // The combination held now, 0 for none.
    WORD Registered() const noexcept { return registered_; }

private:
    // Gives up the combination held and registers value; the failure's text, or nothing
    // when value is held now (or is none).
    std::optional<std::string> Register(WORD value);

    HWND form_;
    Reports& reports_;
    WORD registered_ = 0;
    std::optional<toolkit::ScopedIdleWork> startFailure_;
};
