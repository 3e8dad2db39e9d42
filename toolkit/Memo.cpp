#include "toolkit/Memo.h"

namespace toolkit {

Memo::Memo(const ControlArgs& args)
    : Edit(args, ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL | WS_HSCROLL)
{
    Subclass(Handle());
}

std::vector<std::string> Memo::Lines() const
{
    return base::SplitLines(Text());
}

LRESULT Memo::Filter(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_GETDLGCODE) {
        // Answered here without the edit's own handling: told it is in a dialog, the edit
        // moves the focus on Tab and closes the parent on Escape. As a text field it takes
        // every key, Tab and Enter included.
        return DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
    }
    if (message == WM_SETTEXT) {
        // A multi-line edit sends no change notice for text set by a message, as another
        // program (a test, an accessibility tool) sets it: the change is raised here.
        const LRESULT result = PassOn(hwnd, message, wParam, lParam);
        HandleCommand(EN_CHANGE);
        return result;
    }
    return PassOn(hwnd, message, wParam, lParam);
}

} // namespace toolkit
