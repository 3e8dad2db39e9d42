#pragma once
#include "toolkit/Dpi.h"
#include "toolkit/Window.h"

namespace toolkit {

class Application;

// The hidden application window: zero size, shown so that it carries the taskbar button,
// owner of the main form. Its messages pass the application's hooks first.
class ApplicationWindow : public Window {
public:
    static constexpr const char* ClassName = "VarnquillApplication";

    ApplicationWindow(Application& application, const char* title, const DensityIcons& classIcons);
    // The window goes before the icons it borrows.
    ~ApplicationWindow() override { Destroy(); }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    Application& application_;
    DensityIcons classIcons_; // its class's; also where no icons for the density can be loaded
    WindowIcons icons_;
};

} // namespace toolkit
