#pragma once
#include "toolkit/Edit.h"
#include "base/TextLines.h"

#include <string>
#include <vector>

namespace toolkit {

// A multi-line text field with both scroll bars. Enter and Tab are typed into it as text
// (CR LF and a tab character), also where the window's loop handles dialog keys. Text and
// OnChange behave as in Edit, text set by a WM_SETTEXT from elsewhere included; set
// MaxLength to bound what the user can type.
class Memo : public Edit {
public:
    explicit Memo(const ControlArgs& args);

    // The text split at its line breaks (CR LF, or a lone CR or LF); a trailing line break
    // ends the last line and does not start an empty one.
    std::vector<std::string> Lines() const;

protected:
    LRESULT Filter(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
};

} // namespace toolkit
