// The database editor of the main window: creating or opening a database on the shared
// handle, walking its records, adding, changing and deleting them, and writing the shown
// record as the signature. The handle and the record buffer are the program's one pair
// (ProgramDatabase()), which the random change uses too; the database-open flag set here
// keeps it away while a database is open.
#include "ui/Unit1.h"

#include "engine/IoFailure.h"
#include "engine/SignatureDatabase.h"
#include "engine/WholeRecords.h"
#include "base/AsciiText.h"
#include "settings/ProgramLocation.h"
#include "settings/WholeFile.h"
#include "toolkit/FileDialogs.h"
#include "ui/EditorStates.h"

#include <stdexcept>

namespace {

constexpr const char* OpenDialogTitle = "Create new or choose an already existing signature database";
constexpr const char* DatabaseFilter = "Signature files|*.sigs|All files|*.*";
constexpr const char* DatabaseExtension = "*.sigs";
constexpr const char* ProposedName = "Untitled1.sigs";
constexpr const char* OpenFailureTitle = "File error:";
constexpr const char* CommandFailureTitle = "Error:";
constexpr const char* AlreadyOpenText = "A signature database is already open!";

} // namespace

void TForm1::ConnectEditorHandlers()
{
    btnOpen.OnClick = [this](auto&) { btnOpenClick(); };
    btnClose.OnClick = [this](auto&) { btnCloseClick(); };
    btnFirst.OnClick = [this](auto&) { btnFirstClick(); };
    btnPrevious.OnClick = [this](auto&) { btnPreviousClick(); };
    btnNext.OnClick = [this](auto&) { btnNextClick(); };
    btnLast.OnClick = [this](auto&) { btnLastClick(); };
    btnNew.OnClick = [this](auto&) { btnNewClick(); };
    btnPost.OnClick = [this](auto&) { btnPostClick(); };
    btnDelete.OnClick = [this](auto&) { btnDeleteClick(); };
    btnSet.OnClick = [this](auto&) { btnSetClick(); };
}

// ---- Opening and closing ----

void TForm1::btnOpenClick()
{
    toolkit::FileDialogArgs args;
    args.owner = Handle();
    args.title = OpenDialogTitle;
    args.filter = DatabaseFilter;
    args.defaultExtension = DatabaseExtension;
    args.fileName = ProposedName;
    const std::optional<std::string> chosen = toolkit::RunSaveDialog(args);
    if (!chosen)
        return;
    OpenDatabase(*chosen, true);
}

void TForm1::OpenFromList(const std::string& path)
{
    if (ProgramDatabase().DatabaseOpen()) {
        reports_.ReportError(CommandFailureTitle, AlreadyOpenText, AlreadyOpenText);
        return;
    }
    OpenDatabase(path, false);
}

void TForm1::OpenDatabase(const std::string& path, bool createMissing)
{
    SignatureDatabase& database = ProgramDatabase();
    RecordFile& file = database.File();
    DBFileEdit.SetText(path);
    std::int64_t records = 0;
    try {
        if (createMissing && !base::FileExists(path)) {
            file.Create(path);
            database.SetAddingMode(true);
        } else {
            file.OpenExisting(path);
            RefusePartialRecords(path);
            records = file.Count();
            if (records > 0) {
                file.Seek(0);
                SigMemo.SetText(database.ShowCurrent());
                database.SetAddingMode(false);
            }
        }
    } catch (const std::exception& failure) {
        // Nothing of this database stays open: the editor is as it was, closed.
        file.Close();
        ShowClosedState();
        ReportFailure(reports_, failure, OpenFailureTitle);
        return;
    }
    ShowOpenedState(records);
}

void TForm1::ShowOpenedState(std::int64_t records)
{
    ProgramDatabase().SetDatabaseOpen(true);
    if (records == 0)
        ShowEditorState(EditorState::Empty);
    else
        ShowEditorState(EditorState::Browsing, true, records < 2);
    btnPost.SetText("Update");
}

void TForm1::btnCloseClick()
{
    ProgramDatabase().File().Close();
    OfferToDatabaseList(DBFileEdit.Text());
    ShowClosedState();
}

void TForm1::OfferToDatabaseList(const std::string& path)
{
    if (DatabaseListHolds(path))
        return;
    if (reports_.Ask("Do you want to add " + path.substr(settings::DirectoryPart(path).size()) + " to the list of signature databases?"))
        DBList.Add(path);
}

bool TForm1::DatabaseListHolds(const std::string& path) const
{
    for (const std::string& listed : DBList.Items()) {
        if (base::AsciiEqualNoCase(listed, path))
            return true;
    }
    return false;
}

void TForm1::ShowClosedState()
{
    ShowEditorState(EditorState::Closed);
    SigMemo.SetText({});
    ProgramDatabase().SetDatabaseOpen(false);
    DBFileEdit.SetText({});
}

void TForm1::ShowEditorState(EditorState state, bool atFirst, bool atLast)
{
    const EditorControls row = EnabledControls(state, atFirst, atLast);
    btnOpen.SetEnabled(row.open);
    btnClose.SetEnabled(row.close);
    btnFirst.SetEnabled(row.first);
    btnPrevious.SetEnabled(row.previous);
    btnNext.SetEnabled(row.next);
    btnLast.SetEnabled(row.last);
    btnNew.SetEnabled(row.newRecord);
    btnPost.SetEnabled(row.post);
    btnDelete.SetEnabled(row.deleteRecord);
    btnSet.SetEnabled(row.setSignature);
    SigMemo.SetEnabled(row.memo);
}

// ---- Moving between records ----

void TForm1::btnFirstClick()
{
    Navigate(RecordStep::First);
}

void TForm1::btnPreviousClick()
{
    Navigate(RecordStep::Previous);
}

void TForm1::btnNextClick()
{
    Navigate(RecordStep::Next);
}

void TForm1::btnLastClick()
{
    Navigate(RecordStep::Last);
}

void TForm1::Navigate(RecordStep step)
{
    SignatureDatabase& database = ProgramDatabase();
    RecordFile& file = database.File();
    try {
        // Every move is on until the file says otherwise; a failing read leaves it so.
        ShowEditorState(EditorState::Browsing);
        const std::int64_t p = file.Position();
        const std::int64_t n = file.Count();
        if (n == 0) {
            // Nothing to show, move to or delete (another program may have emptied the file).
            ShowEditorState(EditorState::Empty);
            return;
        }
        // Only the step taken tells where the shown record stands; the other end's moves
        // stay on.
        bool atFirst = false;
        bool atLast = false;
        bool moved = true;
        switch (step) {
        case RecordStep::First:
            file.Seek(0);
            atFirst = true;
            break;
        case RecordStep::Last:
            file.Seek(n - 1);
            atLast = true;
            break;
        case RecordStep::Next:
            moved = p < n - 1;
            if (moved)
                file.Seek(p + 1);
            atLast = !moved || p + 1 == n - 1;
            break;
        case RecordStep::Previous:
            moved = p >= 1;
            if (moved)
                file.Seek(p - 1);
            atFirst = !moved || p - 1 == 0;
            break;
        }
        ShowEditorState(EditorState::Browsing, atFirst, atLast);
        if (!moved)
            return;
        SigMemo.SetText(database.ShowCurrent());
        database.SetAddingMode(false);
    } catch (const IoFailure& failure) {
        ReportFailure(reports_, failure, CommandFailureTitle);
    }
}

// ---- Changing records ----

void TForm1::btnNewClick()
{
    SigMemo.SetText({});
    ProgramDatabase().SetAddingMode(true);
    ShowEditorState(EditorState::Adding);
    btnPost.SetText("Add sig");
    SigMemo.SetFocus();
}

void TForm1::btnPostClick()
{
    try {
        ProgramDatabase().Post(SigMemo.Lines());
    } catch (const IoFailure& failure) {
        ReportFailure(reports_, failure, CommandFailureTitle);
        return;
    }
    ShowEditorState(EditorState::Browsing);
    btnPost.SetText("Update");
}

void TForm1::btnDeleteClick()
{
    if (!reports_.Ask("Delete signature?"))
        return;
    try {
        const std::optional<std::string> shown = ProgramDatabase().DeleteCurrent();
        if (shown) {
            SigMemo.SetText(*shown);
            return;
        }
        ShowEditorState(EditorState::Empty);
        SigMemo.SetText({});
    } catch (const IoFailure& failure) {
        ReportFailure(reports_, failure, CommandFailureTitle);
    }
}

void TForm1::btnSetClick()
{
    // What the field shows, posted or not.
    writer_.SetSignature(SigMemo.Text());
}
