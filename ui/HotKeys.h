#pragma once
#include "toolkit/Application.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <list>

class Reports;

// Why value cannot be a hot key of the program, or nothing: one of the system's own editing
// keys would take copy, paste or undo away from every program, this one's own paste included.
std::optional<std::string> PasteHotKeyRefusal(WORD value);

// The program's hot keys, registered for the main window: a table of the identifiers the
// system hands back with WM_HOTKEY and what each does. Each holds one combination at a time
// and says its own conflicts; all are given up when this goes.
class HotKeys {
public:
    // What a hot key does when pressed; combination is the one it holds.
    using Action = std::function<void(WORD combination)>;

    HotKeys(HWND form, Reports& reports);
    ~HotKeys();
    HotKeys(const HotKeys&) = delete;
    HotKeys& operator=(const HotKeys&) = delete;

    // A hot key of the table, holding no combination yet; answers its identifier. title
    // heads the balloon of a conflict at start-up ("Paste hot key:").
    int Add(std::string title, Action action);

    // Start-up: the stored combination (the hot-key field's value, 0 for none). One the
    // system or another program holds, or one refused (PasteHotKeyRefusal) but stored by an
    // earlier version, is said in an error balloon, when error balloons are on, once the
    // icon is in the tray; never in a box, as nobody has just chosen it.
    void Start(int id, WORD value);
    // The user has just chosen value in the field (0 clears it): it replaces the one held.
    // One that is taken is said in a box over the window, naming it; the value is kept all
    // the same, so it is tried again at the next start.
    void Choose(int id, WORD value);

    // A WM_HOTKEY: runs the action of the hot key it names while that holds a combination;
    // false when it names none of the table's.
    bool Pressed(WPARAM id);
    // The combination a hot key holds now, 0 for none.
    WORD Registered(int id) const noexcept;

private:
    struct Entry {
        int id;
        std::string title;
        Action action;
        WORD registered = 0;
        std::optional<toolkit::ScopedIdleWork> startFailure;
    };

    Entry* Find(WPARAM id) noexcept;
    const Entry* Find(WPARAM id) const noexcept;
    // Gives up the combination the entry holds and registers value; the failure's text, or
    // nothing when value is held now (or is none).
    std::optional<std::string> Register(Entry& entry, WORD value);

    HWND form_;
    Reports& reports_;
    std::list<Entry> entries_; // a list: an entry's queued balloon cannot move
};
