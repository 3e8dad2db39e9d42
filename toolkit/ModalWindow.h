#pragma once
#include "toolkit/Window.h"

#include <optional>

namespace toolkit {

// A small top-level window that runs modally over its owner, as a dialog box does: the owner
// is disabled while it runs; the keyboard starts at its first control, Tab and the arrow keys
// move between its controls; Enter chooses OK (or presses the button that has the focus),
// and Escape or the close box Cancel. Its controls' notifications reach them (see
// Control::Reflect). Messages of other windows (timers, the tray icon) go on being handled.
class ModalWindow : public Window {
public:
    // Shows the window centred on its owner, where the user can reach it, and runs until
    // EndModal; answers the result given there (IDCANCEL when the program is ending
    // meanwhile), the window hidden again and the owner enabled and active.
    //
    // With showAfterMs, the window stays hidden that long first (the owner disabled all the
    // same): work that ends sooner (EndModal) never shows it at all.
    int ShowModal(UINT showAfterMs = 0);
    // Ends ShowModal with the result, also when called from a message sent by another thread
    // or program, which the loop would otherwise only notice at its next posted message.
    void EndModal(int result) noexcept;

protected:
    // A window of the given client size (at 96 pixels per inch; a window laid out for another
    // density takes its own), hidden until ShowModal.
    ModalWindow(const char* className, const char* title, HWND owner, int clientWidth, int clientHeight);

    // Enter: ends with IDOK unless overridden.
    virtual void OnOk() { EndModal(IDOK); }
    // Escape or the close box: ends with IDCANCEL unless overridden.
    virtual void OnCancel() { EndModal(IDCANCEL); }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CentreOnOwner();
    // Shows the window where it belongs, in front, the keyboard at its first control.
    void Reveal();

    HWND owner_;
    std::optional<int> result_;
};

} // namespace toolkit
