#pragma once
#include "toolkit/Window.h"

#include <functional>
#include <optional>

namespace toolkit {

// A hidden window that only receives messages for some object of the program (timers,
// shell callbacks). The procedure answers a message, or nothing to leave it to the default
// window handling. The procedure may destroy the window's object, provided it then answers
// the message.
class UtilityWindow : public Window {
public:
    using Procedure = std::function<std::optional<LRESULT>(UINT message, WPARAM wParam, LPARAM lParam)>;
    // Whether the window hears what is said to every top-level window ("TaskbarCreated",
    // the session's end). One that need not is message-only: the window system then makes
    // no window of its own for it.
    enum class Hears { Broadcasts, OnlyItsOwn };

    // Creates the window at once; throws std::runtime_error with the system's text.
    UtilityWindow(const char* className, Procedure procedure, Hears hears = Hears::Broadcasts);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    Procedure procedure_;
};

} // namespace toolkit
