#pragma once
// The tests' view of the database list's controls (its friend).
#include "ui/DatabaseListPanel.h"

class DatabaseListPanelProbe {
public:
    explicit DatabaseListPanelProbe(DatabaseListPanel& panel) : DBList(panel.DBList), DBListPopUp(panel.DBListPopUp) {}

    toolkit::ListBox& DBList;
    toolkit::PopupMenu& DBListPopUp;
};
