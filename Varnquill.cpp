// Program entry: one program per session, the application and its title, the main window
// (whose creation runs the start-up), and the event loop until the tray menu's "Exit" or
// the session's end ends it.
#include "base/CommandLine.h"
#include "toolkit/Application.h"
#include "ui/ProgramServices.h"
#include "ui/SingleInstance.h"
#include "ui/StartRequest.h"
#include "ui/Unit1.h"

#include <exception>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // Two programs would keep two icons and two timers writing one signature file, and the
    // one to exit last would overwrite the other's database list.
    const StartRequest start = StartRequest::FromArguments(base::CommandLineArguments());
    const InstanceClaim claim;
    if (!claim.First()) {
        if (!start.minimised)
            AskRunningProgramToShowItself();
        return 0;
    }
    toolkit::Application& application = toolkit::Application::Instance();
    try {
        application.SetTitle("Varnquill");
        application.Initialize();
        // What lives for the whole run outlives the window that starts and ends it.
        ProgramServices services;
        TForm1 form(services, start);
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
