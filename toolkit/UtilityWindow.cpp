#include "toolkit/UtilityWindow.h"

#include <utility>

namespace toolkit {

UtilityWindow::UtilityWindow(const char* className, Procedure procedure, Hears hears)
    : procedure_(std::move(procedure))
{
    WindowArgs args;
    args.className = className;
    // A popup that is never shown. Unless message-only, it is top-level and so gets
    // broadcasts; as a tool window it would never take a taskbar button.
    args.style = WS_POPUP;
    args.exStyle = WS_EX_TOOLWINDOW;
    args.x = 0;
    args.y = 0;
    args.width = 0;
    args.height = 0;
    if (hears == Hears::OnlyItsOwn)
        args.parent = HWND_MESSAGE;
    Create(args);
}

LRESULT UtilityWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (procedure_) {
        // The procedure may destroy this window and its object (the last timer's tick does):
        // it runs from a copy, and an answer it gives is returned without touching the object.
        const Procedure procedure = procedure_;
        if (const std::optional<LRESULT> answer = procedure(message, wParam, lParam))
            return *answer;
    }
    return DefaultHandling(message, wParam, lParam);
}

} // namespace toolkit
