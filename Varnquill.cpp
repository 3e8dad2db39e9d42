// Program entry: the application and its title, the main window (whose creation runs the
// start-up), and the event loop until the tray menu's "Exit" ends it.
#include "toolkit/Application.h"
#include "ui/Unit1.h"

#include <exception>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    toolkit::Application& application = toolkit::Application::Instance();
    try {
        application.SetTitle("Varnquill");
        application.Initialize();
        TForm1 form;
        if (application.ShowMainFormOnStart())
            form.Show();
        application.Run();
    } catch (...) {
        // Only a window that cannot be made at all gets here: nothing is left to run.
        application.HandleException(std::current_exception());
        return 1;
    }
    return 0;
}
