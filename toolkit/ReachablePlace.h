#pragma once
#include <windows.h>

#include <vector>

namespace toolkit {

// Where a window of this size, asked to go to corner, can be reached by the user: at corner
// when its title bar (its top titleHeight pixels) overlaps one of the work areas; otherwise
// moved the shortest way into the work area nearest to it (its top-left part first, when
// the window is larger). With no work area known, corner itself.
POINT ReachablePlace(POINT corner, SIZE size, int titleHeight, const std::vector<RECT>& workAreas);

// The work area of every monitor attached now (the screen without the taskbar and docked
// bars); empty when the system gives none.
std::vector<RECT> MonitorWorkAreas();

} // namespace toolkit
