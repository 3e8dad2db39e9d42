// The database editor: its controls where the layout puts them, and its handlers.
#include "ui/DatabaseEditor.h"
#include "base/PathParts.h"

#include "engine/IoFailure.h"
#include "engine/ReportSink.h"
#include "engine/SignatureRecord.h"
#include "engine/SignatureDatabase.h"
#include "engine/SignatureWriter.h"
#include "resources/ResourceIds.h"
#include "settings/ProgramLocation.h"
#include "base/WholeFile.h"
#include "toolkit/FileDialogs.h"
#include "ui/DatabaseListPanel.h"
#include "ui/FormLayout.h"

#include <stdexcept>

namespace {

constexpr const char* OpenDialogTitle = "Create new or choose an already existing signature database";
constexpr const char* DatabaseFilter = "Signature files|*.sigs|All files|*.*";
constexpr const char* DatabaseExtension = "*.sigs";
constexpr const char* ProposedName = "Untitled1.sigs";
constexpr const char* OpenFailureTitle = "File error:";
constexpr const char* CommandFailureTitle = "Error:";
constexpr const char* AlreadyOpenText = "A signature database is already open!";

using layout::At;
using layout::DatabaseTop;
using layout::Disabled;

} // namespace

DatabaseEditor::DatabaseEditor(HWND form, SignatureDatabase& database, ReportSink& reports, SignatureWriter& writer,
                               DatabaseListPanel& list)
    : DatabaseGroup(layout::Group(form, DatabaseTop, layout::DatabaseHeight, "Database")),
      SigMemo(At(form, DatabaseTop, 384, 104, 360, 121, {}, Disabled)),
      DBFileLabel(At(form, DatabaseTop, 8, 16, 0, 0, "Database file to edit:")),
      DBFileEdit(At(form, DatabaseTop, 8, 32, 577, 21)),
      btnOpen(At(form, DatabaseTop, 592, 32, 68, 21, "New / Open")),
      btnClose(At(form, DatabaseTop, 668, 32, 68, 21, "Close", Disabled)),
      btnNew(At(form, DatabaseTop, 385, 272, 75, 21, "New", Disabled)),
      btnPost(At(form, DatabaseTop, 480, 272, 75, 21, "Post", Disabled)),
      btnDelete(At(form, DatabaseTop, 575, 272, 75, 21, "Delete", Disabled)),
      btnFirst(At(form, DatabaseTop, 384, 240, 75, 21, "First", Disabled)),
      btnPrevious(At(form, DatabaseTop, 480, 240, 75, 21, "Previous", Disabled)),
      btnNext(At(form, DatabaseTop, 575, 240, 75, 21, "Next", Disabled)),
      btnLast(At(form, DatabaseTop, 670, 240, 75, 21, "Last", Disabled)),
      btnSet(At(form, DatabaseTop, 670, 272, 75, 21, "Set signature", Disabled)),
      SigLabel(At(form, DatabaseTop, 384, 88, 0, 0, "Signature:")),
      Banner(At(form, DatabaseTop, 8, 240, 360, 53)),
      form_(form),
      database_(database),
      reports_(reports),
      writer_(writer),
      list_(list)
{
    SigMemo.SetMaxLength(static_cast<int>(SignatureTextCapacity));

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

void DatabaseEditor::LoadBanner()
{
    Banner.LoadJpegResources({IDR_BANNER, IDR_BANNER_LARGE});
}

std::optional<std::string> DatabaseEditor::DatabaseInEditor() const
{
    if (!database_.DatabaseOpen())
        return std::nullopt;
    return DBFileEdit.Text();
}

// ---- Opening and closing ----

void DatabaseEditor::btnOpenClick()
{
    toolkit::FileDialogArgs args;
    args.owner = form_;
    args.title = OpenDialogTitle;
    args.filter = DatabaseFilter;
    args.defaultExtension = DatabaseExtension;
    args.fileName = ProposedName;
    const std::optional<std::string> chosen = toolkit::RunSaveDialog(args);
    if (!chosen)
        return;
    OpenDatabase(*chosen, true);
}

void DatabaseEditor::OpenFromList(const std::string& path)
{
    if (database_.DatabaseOpen()) {
        reports_.ReportError(CommandFailureTitle, AlreadyOpenText, AlreadyOpenText);
        return;
    }
    OpenDatabase(path, false);
}

void DatabaseEditor::OpenDatabase(const std::string& path, bool createMissing)
{
    DBFileEdit.SetText(path);
    std::int64_t records = 0;
    try {
        if (createMissing && !base::FileExists(path)) {
            database_.CreateForEditing(path);
        } else {
            records = database_.OpenForEditing(path);
            if (records > 0) {
                SigMemo.SetText(database_.ShowCurrent());
                database_.SetAddingMode(false);
            }
        }
    } catch (const std::exception& failure) {
        // Nothing of this database stays open: the editor is as it was, closed.
        database_.CloseEditing();
        ShowClosedState();
        ReportFailure(reports_, failure, OpenFailureTitle);
        return;
    }
    ShowOpenedState(records);
}

void DatabaseEditor::ShowOpenedState(std::int64_t records)
{
    database_.SetDatabaseOpen(true);
    if (records == 0)
        ShowEditorState(EditorState::Empty);
    else
        ShowEditorState(EditorState::Browsing, true, records < 2);
    btnPost.SetText("Update");
}

void DatabaseEditor::btnCloseClick()
{
    database_.CloseEditing();
    OfferToDatabaseList(DBFileEdit.Text());
    ShowClosedState();
}

void DatabaseEditor::OfferToDatabaseList(const std::string& path)
{
    if (list_.Holds(path))
        return;
    if (reports_.Ask("Do you want to add " + std::string(base::FileNamePart(path)) + " to the list of signature databases?"))
        list_.Add(path);
}

void DatabaseEditor::ShowClosedState()
{
    ShowEditorState(EditorState::Closed);
    SigMemo.SetText({});
    database_.SetDatabaseOpen(false);
    DBFileEdit.SetText({});
}

void DatabaseEditor::ShowEditorState(EditorState state, bool atFirst, bool atLast)
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

void DatabaseEditor::btnFirstClick()
{
    Navigate(SignatureDatabase::RecordStep::First);
}

void DatabaseEditor::btnPreviousClick()
{
    Navigate(SignatureDatabase::RecordStep::Previous);
}

void DatabaseEditor::btnNextClick()
{
    Navigate(SignatureDatabase::RecordStep::Next);
}

void DatabaseEditor::btnLastClick()
{
    Navigate(SignatureDatabase::RecordStep::Last);
}

void DatabaseEditor::Navigate(SignatureDatabase::RecordStep step)
{
    try {
        // Every move is on until the file says otherwise; a failing read leaves it so.
        ShowEditorState(EditorState::Browsing);
        const std::optional<SignatureDatabase::CursorMove> move = database_.MoveCursor(step);
        if (!move) {
            // Nothing to show, move to or delete (another program may have emptied the file).
            ShowEditorState(EditorState::Empty);
            return;
        }
        // The other end's moves stay on: only the step taken tells where the record stands.
        ShowEditorState(EditorState::Browsing, move->atFirst, move->atLast);
        if (!move->moved)
            return;
        SigMemo.SetText(database_.ShowCurrent());
        database_.SetAddingMode(false);
    } catch (const IoFailure& failure) {
        ReportFailure(reports_, failure, CommandFailureTitle);
    }
}

// ---- Changing records ----

void DatabaseEditor::btnNewClick()
{
    SigMemo.SetText({});
    database_.SetAddingMode(true);
    ShowEditorState(EditorState::Adding);
    btnPost.SetText("Add sig");
    SigMemo.SetFocus();
}

void DatabaseEditor::btnPostClick()
{
    try {
        database_.Post(SigMemo.Lines());
    } catch (const IoFailure& failure) {
        ReportFailure(reports_, failure, CommandFailureTitle);
        return;
    }
    ShowEditorState(EditorState::Browsing);
    btnPost.SetText("Update");
}

void DatabaseEditor::btnDeleteClick()
{
    if (!reports_.Ask("Delete signature?"))
        return;
    try {
        const std::optional<std::string> shown = database_.DeleteCurrent();
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

void DatabaseEditor::btnSetClick()
{
    // What the field shows, posted or not.
    writer_.SetSignature(SigMemo.Text());
}
