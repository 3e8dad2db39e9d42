#pragma once
#include "toolkit/GroupBox.h"
#include "toolkit/ListBox.h"
#include "toolkit/PopupMenu.h"

#include <functional>
#include <string>
#include <vector>

class ProgramServices;

// The "Databases" group: the list of databases the random change picks from, edited
// through its context menu; the list box shows the profile's list, which every edit changes
// (ProgramServices). Changes reach "sigs.list" when the program exits.
class DatabaseListPanel {
public:
    DatabaseListPanel(HWND form, ProgramServices& services);

    // The context menu's "Open": opens the selected database in the editor.
    std::function<void(const std::string& path)> OnOpen;
    // The files "Import..." and "Export..." must not write (ProgramOwnFiles).
    std::function<std::vector<std::string>()> OwnFiles;

    const std::vector<std::string>& Items() const;
    // Whether the list holds the path, in whatever letter case.
    bool Holds(const std::string& path) const;
    void Add(const std::string& path);
    // The list box shows the profile's list anew.
    void Show();

private:
    friend class DatabaseListPanelProbe; // the tests' view of the controls

    void DBListPopUpPopup();
    void AddItemClick();
    void OpenItemClick();
    void ImportItemClick();
    void ExportItemClick();
    void RemoveItemClick();
    void ClearListItemClick();

    toolkit::GroupBox DatabasesGroup;
    toolkit::ListBox DBList;
    toolkit::PopupMenu DBListPopUp; // the list's context menu

    HWND form_;
    ProgramServices& services_;
};
