// The "Databases" group: the list of databases the random change picks from, edited
// through its context menu. Changes reach "sigs.list" when the program exits.
#include "ui/Unit1.h"

#include "toolkit/FileDialogs.h"

namespace {

// The context menu's items, in menu order.
enum DBListPopUpItem : std::size_t { AddItem, OpenItem, RemoveItem, ClearListItem };

} // namespace

void TForm1::ConnectDatabaseListHandlers()
{
    DBListPopUp.Items.Clear();
    DBListPopUp.Add("Add", [this](auto&) { AddItemClick(); });
    DBListPopUp.Add("Open", [this](auto&) { OpenItemClick(); });
    DBListPopUp.Add("Remove", [this](auto&) { RemoveItemClick(); });
    DBListPopUp.Add("Clear list", [this](auto&) { ClearListItemClick(); });
    DBListPopUp.OnPopup = [this](auto&) { DBListPopUpPopup(); };
}

void TForm1::DBListPopUpPopup()
{
    const bool rowSelected = DBList.ItemIndex() >= 0;
    DBListPopUp.Items[AddItem].Enabled = true;
    DBListPopUp.Items[OpenItem].Enabled = rowSelected;
    DBListPopUp.Items[RemoveItem].Enabled = rowSelected;
    DBListPopUp.Items[ClearListItem].Enabled = DBList.Count() > 0;
}

void TForm1::AddItemClick()
{
    toolkit::FileDialogArgs args;
    args.owner = Handle();
    args.title = "Find a signature database to add...";
    args.filter = "Signature files|*.sigs|All files|*.*";
    args.defaultExtension = "*.sigs";
    const std::optional<std::string> chosen = toolkit::RunOpenDialog(args);
    // A path already listed, in whatever letter case, is not listed twice.
    if (chosen && !DatabaseListHolds(*chosen))
        DBList.Add(*chosen);
}

void TForm1::OpenItemClick()
{
    const int selected = DBList.ItemIndex();
    if (selected >= 0)
        OpenFromList(DBList.Item(selected));
}

void TForm1::RemoveItemClick()
{
    const int selected = DBList.ItemIndex();
    if (selected >= 0)
        DBList.Delete(selected);
}

void TForm1::ClearListItemClick()
{
    DBList.Clear();
}
