#include "ui/DatabaseListPanel.h"

#include "toolkit/FileDialogs.h"
#include "ui/DatabaseImport.h"
#include "ui/FormLayout.h"
#include "ui/ProgramServices.h"

namespace {

using layout::DatabasesHeight;
using layout::DatabasesTop;
using layout::FrameCaption;
using layout::FrameSide;

// The context menu's items, in menu order.
enum DBListPopUpItem : std::size_t { AddItem, OpenItem, ImportItem, ExportItem, RemoveItem, ClearListItem };

} // namespace

DatabaseListPanel::DatabaseListPanel(HWND form, ProgramServices& services)
    : DatabasesGroup(layout::Group(form, DatabasesTop, DatabasesHeight, "Databases")),
      DBList(layout::At(form, DatabasesTop, FrameSide, FrameCaption, layout::ClientWidth - 2 * FrameSide,
                        DatabasesHeight - FrameCaption - FrameSide)),
      form_(form),
      services_(services)
{
    DBListPopUp.Add("Add", [this](auto&) { AddItemClick(); });
    DBListPopUp.Add("Open", [this](auto&) { OpenItemClick(); });
    DBListPopUp.Add("Import...", [this](auto&) { ImportItemClick(); });
    DBListPopUp.Add("Export...", [this](auto&) { ExportItemClick(); });
    DBListPopUp.Add("Remove", [this](auto&) { RemoveItemClick(); });
    DBListPopUp.Add("Clear list", [this](auto&) { ClearListItemClick(); });
    DBListPopUp.OnPopup = [this](auto&) { DBListPopUpPopup(); };
    // The list opens its context menu as any control with a popup menu does.
    DBList.OnContextMenu = [this](toolkit::Control& sender, int x, int y) {
        if (!DBListPopUp.AutoPopup)
            return;
        DBListPopUp.PopupComponent = &sender;
        DBListPopUp.Popup(x, y);
    };
}

void DatabaseListPanel::DBListPopUpPopup()
{
    const bool rowSelected = DBList.ItemIndex() >= 0;
    DBListPopUp.Items[AddItem].Enabled = true;
    DBListPopUp.Items[OpenItem].Enabled = rowSelected;
    DBListPopUp.Items[ImportItem].Enabled = true;
    DBListPopUp.Items[ExportItem].Enabled = rowSelected;
    DBListPopUp.Items[RemoveItem].Enabled = rowSelected;
    DBListPopUp.Items[ClearListItem].Enabled = DBList.Count() > 0;
}

void DatabaseListPanel::AddItemClick()
{
    toolkit::FileDialogArgs args;
    args.owner = form_;
    args.title = "Find a signature database to add...";
    args.filter = "Signature files|*.sigs|All files|*.*";
    args.defaultExtension = "*.sigs";
    const std::optional<std::string> chosen = toolkit::RunOpenDialog(args);
    // A path already listed, in whatever letter case, is not listed twice.
    if (chosen && !Holds(*chosen))
        Add(*chosen);
}

void DatabaseListPanel::OpenItemClick()
{
    const int selected = DBList.ItemIndex();
    if (selected >= 0 && OnOpen)
        OnOpen(DBList.Item(selected));
}

void DatabaseListPanel::ImportItemClick()
{
    const int selected = DBList.ItemIndex();
    const std::string preset = selected >= 0 ? DBList.Item(selected) : std::string();
    const std::vector<std::string> ownFiles = OwnFiles ? OwnFiles() : std::vector<std::string>{};
    const std::optional<std::string> database = RunDatabaseImport(form_, preset, ownFiles);
    if (database && !Holds(*database))
        Add(*database);
}

void DatabaseListPanel::ExportItemClick()
{
    const int selected = DBList.ItemIndex();
    if (selected < 0)
        return;
    const std::vector<std::string> ownFiles = OwnFiles ? OwnFiles() : std::vector<std::string>{};
    RunDatabaseExport(form_, Items()[selected], Items(), ownFiles);
}

void DatabaseListPanel::RemoveItemClick()
{
    const int selected = DBList.ItemIndex();
    if (selected < 0)
        return;
    std::vector<std::string>& databases = services_.Profile().databases;
    if (static_cast<std::size_t>(selected) < databases.size())
        databases.erase(databases.begin() + selected);
    DBList.Delete(selected);
}

void DatabaseListPanel::ClearListItemClick()
{
    services_.Profile().databases.clear();
    DBList.Clear();
}

const std::vector<std::string>& DatabaseListPanel::Items() const
{
    return services_.Profile().databases;
}

bool DatabaseListPanel::Holds(const std::string& path) const
{
    return settings::ListsDatabase(services_.Profile(), path);
}

void DatabaseListPanel::Add(const std::string& path)
{
    services_.Profile().databases.push_back(path);
    DBList.Add(path);
}

void DatabaseListPanel::Show()
{
    DBList.Clear();
    for (const std::string& entry : Items())
        DBList.Add(entry);
}
