#pragma once
#include "toolkit/UtilityWindow.h"

#include <map>
#include <memory>
#include <optional>

namespace tray {

// One hidden window that receives the system's messages for every member of a kind (tray
// icons, simple timers) in the process: the first member to join makes it, the last to
// leave destroys it. Each member is known by a key that the system hands back with its
// messages; a key no live member has names nothing.
template <typename Member>
class SharedHandlerWindow {
public:
    using Key = UINT_PTR;
    // Answers the window's messages, or nothing to leave a message to the default handling.
    // It may destroy the member it calls and with it the window, provided it then touches
    // neither.
    using Procedure = std::optional<LRESULT> (*)(UINT message, WPARAM wParam, LPARAM lParam);

    SharedHandlerWindow(const char* className, Procedure procedure,
                        toolkit::UtilityWindow::Hears hears = toolkit::UtilityWindow::Hears::Broadcasts) noexcept
        : className_(className), procedure_(procedure), hears_(hears)
    {
    }
    SharedHandlerWindow(const SharedHandlerWindow&) = delete;
    SharedHandlerWindow& operator=(const SharedHandlerWindow&) = delete;

    // The window while members live, else null.
    HWND Window() const noexcept { return window_ ? window_->Handle() : nullptr; }
    std::size_t Count() const noexcept { return members_.size(); }
    Member* Find(Key key) const noexcept
    {
        const auto found = members_.find(key);
        return found != members_.end() ? found->second : nullptr;
    }

    // A key no live member has: counted up from 1 since the window was made, skipping 0
    // and the keys in use.
    Key NewKey() noexcept
    {
        if (members_.empty())
            nextKey_ = 1;
        while (nextKey_ == 0 || members_.count(nextKey_) != 0)
            ++nextKey_;
        return nextKey_++;
    }

    // Adds the member under key, making the window for the first one; throws
    // std::runtime_error with the system's text when the window cannot be made.
    HWND Join(Key key, Member& member)
    {
        if (!window_)
            window_ = std::make_unique<toolkit::UtilityWindow>(className_, procedure_, hears_);
        members_.insert_or_assign(key, &member);
        return window_->Handle();
    }

    void Leave(Key key) noexcept
    {
        members_.erase(key);
        if (members_.empty())
            window_.reset();
    }

private:
    const char* className_;
    Procedure procedure_;
    toolkit::UtilityWindow::Hears hears_;
    std::unique_ptr<toolkit::UtilityWindow> window_;
    std::map<Key, Member*> members_;
    Key nextKey_ = 1;
};

} // namespace tray
