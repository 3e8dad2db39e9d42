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

    // Creates the window at once; throws std::runtime_error with the system's text.
    UtilityWindow(const char* className, Procedure procedure);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    Procedure procedure_;
};

} // namespace toolkit
