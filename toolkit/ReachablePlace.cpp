#include "toolkit/ReachablePlace.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace toolkit {

namespace {

// In 64 bits: a stored corner may be anywhere an int reaches, and adding a size to it must
// not overflow.
struct Box {
    std::int64_t left, top, right, bottom;
};

Box BoxOf(const RECT& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

bool Overlap(const Box& a, const Box& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The squared length of the shortest way between the two boxes; 0 when they touch. In
// floating point: the squares of far corners do not fit 64 bits.
double Distance(const Box& a, const Box& b)
{
    const auto dx = static_cast<double>(std::max<std::int64_t>({0, b.left - a.right, a.left - b.right}));
    const auto dy = static_cast<double>(std::max<std::int64_t>({0, b.top - a.bottom, a.top - b.bottom}));
    return dx * dx + dy * dy;
}

// Low is kept over high: a window larger than the area shows its top-left part.
std::int64_t Within(std::int64_t start, std::int64_t length, std::int64_t low, std::int64_t high)
{
    return std::max(low, std::min(start, high - length));
}

} // namespace

POINT ReachablePlace(POINT corner, SIZE size, int titleHeight, const std::vector<RECT>& workAreas)
{
    const Box window{corner.x, corner.y, std::int64_t{corner.x} + size.cx, std::int64_t{corner.y} + size.cy};
    const Box titleBar{window.left, window.top, window.right, window.top + std::max(titleHeight, 1)};
    const RECT* nearest = nullptr;
    double nearestDistance = std::numeric_limits<double>::infinity();
    for (const RECT& area : workAreas) {
        if (Overlap(titleBar, BoxOf(area)))
            return corner;
        const double distance = Distance(window, BoxOf(area));
        if (distance < nearestDistance) {
            nearestDistance = distance;
            nearest = &area;
        }
    }
    if (!nearest)
        return corner;
    const Box area = BoxOf(*nearest);
    // Both results lie between a work area's edges, which are LONG values.
    return POINT{static_cast<LONG>(Within(window.left, size.cx, area.left, area.right)),
                 static_cast<LONG>(Within(window.top, size.cy, area.top, area.bottom))};
}

std::vector<RECT> MonitorWorkAreas()
{
    std::vector<RECT> areas;
    EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, LPRECT, LPARAM found) -> BOOL {
            MONITORINFO info{};
            info.cbSize = sizeof info;
            // A monitor removed while being listed has no area to offer.
            if (GetMonitorInfoA(monitor, &info))
                reinterpret_cast<std::vector<RECT>*>(found)->push_back(info.rcWork);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&areas)); // a failed enumeration leaves the list empty
    return areas;
}

} // namespace toolkit
