#include "ui/WindowPlace.h"

#include "base/IntegerText.h"
#include "settings/SettingsStore.h"
#include "toolkit/ReachablePlace.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

void RestoreWindowPlace(HWND window, const settings::ProgramOptions& options)
{
    const std::string& top = options.top;
    const std::string& left = options.left;
    if (top.empty() || left.empty())
        return;
    RECT place{};
    POINT client{0, 0};
    if (!GetWindowRect(window, &place) || !ClientToScreen(window, &client))
        throw std::runtime_error("The window's place cannot be read");
    // A stored place may be off every screen now (a monitor removed, a resolution lowered):
    // the window then comes into the nearest screen rather than out of the user's reach.
    const std::vector<RECT> screens = toolkit::MonitorWorkAreas();
    const SIZE size{place.right - place.left, place.bottom - place.top};
    const int titleHeight = client.y - place.top;
    const auto moveTo = [&](POINT corner) {
        const POINT reachable = toolkit::ReachablePlace(corner, size, titleHeight, screens);
        if (reachable.x == place.left && reachable.y == place.top)
            return; // made there already, as when it was not moved before the last exit
        // A move the system refuses leaves the window where it is; nothing else depends on it.
        SetWindowPos(window, nullptr, reachable.x, reachable.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    };
    // "Top" first: when "Left" then fails to convert, the window has moved down only. When
    // both convert it moves once, straight to its place.
    const int newTop = base::ParseInteger(top);
    const std::optional<int> newLeft = base::TryParseInteger(left);
    if (!newLeft) {
        moveTo(POINT{place.left, newTop});
        throw base::IntegerConversionError(left);
    }
    moveTo(POINT{*newLeft, newTop});
}

void SaveWindowPlace(HWND window, settings::SettingsStore& store)
{
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    RECT place{};
    // A minimised window's rectangle is its icon's; its normal place is what comes back.
    if (IsIconic(window) && GetWindowPlacement(window, &placement))
        place = placement.rcNormalPosition;
    else if (!GetWindowRect(window, &place))
        throw std::runtime_error("The window's place cannot be read");
    store.SaveWindowPlace(place.top, place.left);
}
