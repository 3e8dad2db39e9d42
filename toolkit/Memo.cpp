#include "toolkit/Memo.h"

namespace toolkit {

Memo::Memo(const ControlArgs& args)
    : Edit(args, ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL | WS_HSCROLL)
{
    Subclass(Handle());
}

std::vector<std::string> Memo::Lines() const
{
    return SplitLines(Text());
}

LRESULT Memo::Filter(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_GETDLGCODE) {
        // Answered here without the edit's own handling: told it is in a dialog, the edit
        // moves the focus on Tab and closes the parent on Escape. As a text field it takes
        // every key, Tab and Enter included.
        return DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
    }
    return PassOn(hwnd, message, wParam, lParam);
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(std::move(line));
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(std::move(line));
    return lines;
}

} // namespace toolkit
