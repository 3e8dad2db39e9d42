// Program entry: application title, main window, event loop.
#include "toolkit/Application.h"
#include "ui/Unit1.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    toolkit::Application& application = toolkit::Application::Instance();
    application.SetTitle("Varnquill");
    try {
        TForm1 form;
        application.Run();
    } catch (...) {
        application.HandleException(std::current_exception());
        return 1;
    }
    return 0;
}
