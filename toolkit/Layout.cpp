#include "toolkit/Layout.h"

#include "toolkit/Control.h"
#include "toolkit/Dpi.h"
#include "toolkit/GroupBox.h"

#include <algorithm>
#include <vector>

namespace toolkit {

namespace {

// The controls of the parent, partners such as a spin field's arrows counted with theirs.
std::vector<Control*> ControlsOf(HWND parent)
{
    std::vector<Control*> controls;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        Control* control = Control::FromHandle(child);
        if (control && control->Handle() == child)
            controls.push_back(control);
    }
    return controls;
}

bool Contains(const RECT& outer, const RECT& inner)
{
    return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
           inner.bottom <= outer.bottom;
}

// The right edge a control of this place may reach: inside the innermost group around it,
// else inside the parent.
int RightLimit(HWND parent, const std::vector<Control*>& controls, const RECT& place, UINT dpi)
{
    RECT client{};
    GetClientRect(parent, &client); // a parent without a client area leaves no room to give
    int limit = client.right;
    for (Control* control : controls) {
        if (!dynamic_cast<GroupBox*>(control))
            continue;
        const RECT frame = control->Bounds();
        if (Contains(frame, place))
            limit = std::min(limit, static_cast<int>(frame.right - Scale(2, dpi))); // inside its line
    }
    return limit;
}

void GiveRoom(HWND parent, const std::vector<Control*>& controls, Control& narrow, int lacking, UINT dpi)
{
    const RECT place = narrow.Bounds();
    // The row: the controls beside this one, starting right of its middle.
    std::vector<Control*> row;
    int nextLeft = RightLimit(parent, controls, place, dpi);
    const int limit = nextLeft;
    int rowEnd = place.right;
    for (Control* control : controls) {
        if (control == &narrow || dynamic_cast<GroupBox*>(control))
            continue;
        const RECT other = control->Bounds();
        const bool beside = other.top < place.bottom && place.top < other.bottom;
        if (!beside || other.left <= (place.left + place.right) / 2)
            continue;
        row.push_back(control);
        nextLeft = std::min(nextLeft, static_cast<int>(other.left));
        rowEnd = std::max(rowEnd, static_cast<int>(other.right));
    }
    const int free = std::max(0, nextLeft - static_cast<int>(place.right));
    const int shift = std::clamp(lacking - free, 0, std::max(0, limit - rowEnd));
    for (Control* control : row)
        control->MoveRight(shift);
    const int grown = std::min(lacking, free + shift);
    // Where the group is full the control grows only as far as it can, and a resize the
    // system refuses leaves it as it was: the rest of the caption stays cut.
    SetWindowPos(narrow.Handle(), nullptr, 0, 0, place.right - place.left + grown, place.bottom - place.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

void LayOutControls(HWND parent, UINT dpi)
{
    std::vector<Control*> controls = ControlsOf(parent);
    for (Control* control : controls)
        control->ScaleTo(dpi);
    if (dpi == DesignDpi)
        return;
    // From left to right, so the room one control takes moves the next before it is measured.
    std::sort(controls.begin(), controls.end(),
              [](const Control* a, const Control* b) { return a->Bounds().left < b->Bounds().left; });
    for (Control* control : controls) {
        const RECT place = control->Bounds();
        const int lacking = control->CaptionWidth(dpi) - (place.right - place.left);
        if (lacking > 0)
            GiveRoom(parent, controls, *control, lacking, dpi);
    }
}

} // namespace toolkit
