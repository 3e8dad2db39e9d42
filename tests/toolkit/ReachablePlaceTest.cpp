// Where a stored window place ends up, from the monitors' work areas alone.
#include "toolkit/ReachablePlace.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

using toolkit::ReachablePlace;

namespace {

constexpr SIZE Window{760, 600};
constexpr int TitleHeight = 25;
// A main monitor with the taskbar at its foot, and a second one to its right, set lower.
const RECT Main{0, 0, 1280, 984};
const RECT Right{1280, 200, 2560, 1224};

struct Case {
    const char* name;
    POINT asked;
    std::vector<RECT> areas;
    POINT placed;
};

} // namespace

TEST(ReachablePlace, KeepsAReachableTitleBarAndBringsAnyOtherIntoTheNearestWorkArea)
{
    const Case cases[] = {
        {"on the main monitor", {193, 106}, {Main, Right}, {193, 106}},
        {"partly off, title bar still on", {-700, -20}, {Main}, {-700, -20}},
        {"on the second monitor", {1500, 300}, {Main, Right}, {1500, 300}},
        {"second monitor removed", {1500, 300}, {Main}, {520, 300}},
        {"resolution lowered", {1900, 1100}, {Main}, {520, 384}},
        {"title bar above the screen", {100, -TitleHeight}, {Main}, {100, 0}},
        {"title bar's last row on the screen", {100, 1 - TitleHeight}, {Main}, {100, 1 - TitleHeight}},
        {"title bar under the taskbar", {100, 990}, {Main}, {100, 384}},
        {"beside the lowered second monitor, nearer to it", {2000, 1300}, {Main, Right}, {1800, 624}},
        {"far to the left", {INT_MIN, 50}, {Main, Right}, {0, 50}},
        {"far down and right", {INT_MAX, INT_MAX}, {Main, Right}, {1800, 624}},
        {"work area smaller than the window", {3000, 3000}, {RECT{0, 0, 640, 440}}, {0, 0}},
        {"no monitor known", {5000, 5000}, {}, {5000, 5000}},
    };
    for (const Case& c : cases) {
        const POINT placed = ReachablePlace(c.asked, Window, TitleHeight, c.areas);
        EXPECT_EQ(placed.x, c.placed.x) << c.name;
        EXPECT_EQ(placed.y, c.placed.y) << c.name;
    }
}
