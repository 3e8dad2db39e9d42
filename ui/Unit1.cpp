#include "ui/Unit1.h"

TForm1::TForm1()
{
    toolkit::WindowArgs args;
    args.className = "TForm1";
    args.text = "Varnquill v1.5";
    args.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    args.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    Create(args);
    ShowWindow(Handle(), SW_SHOWNORMAL);
}
