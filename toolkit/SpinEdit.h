#pragma once
#include "toolkit/Edit.h"
#include "toolkit/Handles.h"

#include <optional>
#include <string>

namespace toolkit {

// A whole-number field with up and down arrows, for values from a minimum to a maximum.
//
// Typing accepts digits, "+", "-" and the user's decimal separator; other characters are
// refused with a beep. The text is used as typed, and OnChange is raised by every change of
// it; Value reads the text as an integer, or as the minimum when it is empty or not an
// integer. When the field loses the focus a value outside the range is clamped into it. The
// arrows, buttons and Up/Down keys, step by 1 within the range, as does each turn of the
// mouse wheel over the field; a held button repeats after 400 ms and then every 100 ms. The
// control occupies the given width with its arrows.
class SpinEdit : public Edit {
public:
    SpinEdit(const ControlArgs& args, int minValue, int maxValue);
    ~SpinEdit() override;

    int Value() const;
    // Sets the text to the value clamped into the range.
    void SetValue(int value);

    void SetText(const std::string& text) override;
    void SetEnabled(bool enabled) override;
    // The field and its arrows together take the designed place at dpi, the arrows' own
    // width scaled with it.
    void ScaleTo(UINT dpi) override;
    void MoveRight(int dx) override;

    HWND ArrowsHandle() const noexcept { return arrows_.Get(); }

protected:
    bool HandleCommand(WORD code) override;
    bool HandleNotify(const NMHDR& header, LRESULT& result) override;
    LRESULT Filter(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int Clamp(long long value) const noexcept;
    void Step(int delta);
    void SyncArrows();
    void FitArrows(int right);
    void NoteArrowsPlace(UINT dpi);
    bool Accepts(char c) const;
    // +1 when the point (client coordinates of the arrows) is on the up arrow, -1 on the down one.
    int ArrowAt(POINT point) const;
    LRESULT FilterArrows(UINT message, WPARAM wParam, LPARAM lParam);

    int minValue_;
    int maxValue_;
    char decimalSeparator_;
    WindowHandle arrows_;
    // How the system aligned the arrows to the field at creation, at 96 pixels per inch:
    // their width, how far the field reaches under them, and their distance from the top
    // and the bottom of the designed place.
    struct ArrowsPlace {
        int width = 0;
        int overlap = 0;
        int top = 0;
        int bottom = 0;
    } arrowsDesigned_;
    int heldArrow_ = 0; // the arrow whose button is held down, 0 when none
};

// The integer a spin field's text holds: optional sign and digits, within the int range;
// nothing for any other text.
std::optional<int> TryParseDecimal(const std::string& text);

} // namespace toolkit
