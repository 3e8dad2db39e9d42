#pragma once
#include "tray/SimpleTimer.h"

#include <windows.h>

#include <memory>
#include <vector>

namespace traytest {

// Plays the user at an open popup menu: shortly after Arm, it notes whether a menu is
// showing and then types the given keys into it (VK_RETURN chooses), or, with no keys,
// closes it as a click elsewhere would.
class MenuDriver {
public:
    explicit MenuDriver(std::vector<WPARAM> keys = {}) : keys_(std::move(keys)) {}

    void Arm()
    {
        timer_ = std::make_unique<tray::TSimpleTimer>(150, [this](tray::TSimpleTimer&) { Act(); });
        timer_->AutoDisable = true;
        timer_->Start();
    }

    bool sawMenu = false;

private:
    void Act()
    {
        const HWND menu = FindWindowA(MAKEINTATOM(0x8000), nullptr); // the popup menu class "#32768"
        sawMenu = menu && IsWindowVisible(menu);
        if (keys_.empty() || !menu) {
            EndMenu();
            return;
        }
        for (const WPARAM key : keys_)
            PostMessageA(menu, WM_KEYDOWN, key, 0);
    }

    std::vector<WPARAM> keys_;
    std::unique_ptr<tray::TSimpleTimer> timer_;
};

} // namespace traytest
