#pragma once
// The tests' view of the database list's controls (its friend).
#include "ui/DatabaseListPanel.h"

class DatabaseListPanelProbe {
public:
    explicit DatabaseListPanelProbe(DatabaseListPanel& panel)
        : DBList(panel.DBList), DBListPopUp(panel.DBListPopUp), panel_(panel)
    {
    }

    // The list box shows the profile's list: these change both, as the panel's own edits do.
    void Add(const std::string& path) { panel_.Add(path); }
    void Clear() { panel_.ClearListItemClick(); }

    toolkit::ListBox& DBList;
    toolkit::PopupMenu& DBListPopUp;

private:
    DatabaseListPanel& panel_;
};
