#pragma once
#include "toolkit/Window.h"

// The main window.
class TForm1 : public toolkit::Window {
public:
    TForm1();
};
