#pragma once
// The tests' view of the tray controller's menu (its friend).
#include "ui/TrayController.h"

class TrayControllerProbe {
public:
    explicit TrayControllerProbe(TrayController& tray) : TrayMenu(tray.TrayMenu) {}

    toolkit::PopupMenu& TrayMenu;
};
