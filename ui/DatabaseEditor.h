#pragma once
#include "toolkit/Button.h"
#include "toolkit/Edit.h"
#include "toolkit/GroupBox.h"
#include "toolkit/Image.h"
#include "toolkit/Label.h"
#include "toolkit/Memo.h"
#include "engine/SignatureDatabase.h"
#include "ui/EditorStates.h"

#include <cstdint>
#include <optional>
#include <string>

class DatabaseListPanel;
class ReportSink;
class SignatureWriter;

// The "Database" group's editor: creating or opening a database on the shared handle,
// walking its records, adding, changing and deleting them, and writing the shown record as
// the signature. The handle and the record buffer are the program's one pair, which the
// random change uses too; the database-open flag set here keeps it away while a database
// is open. A closed database is offered to the list.
class DatabaseEditor {
public:
    DatabaseEditor(HWND form, SignatureDatabase& database, ReportSink& reports, SignatureWriter& writer,
                   DatabaseListPanel& list);

    // Opens the database at path (the list's "Open"); refused with a report while the
    // editor already has a database open.
    void OpenFromList(const std::string& path);

    void LoadBanner();
    // The database open in the editor, if any.
    std::optional<std::string> DatabaseInEditor() const;
    // The last of the editor's controls in the Tab order.
    const toolkit::Control& LastControl() const noexcept { return btnSet; }

private:
    friend class DatabaseEditorProbe; // the tests' view of the controls

    // Opens the database at path on the shared handle, or creates it when createMissing
    // and no file of that name exists; a failure is reported and leaves the editor closed.
    void OpenDatabase(const std::string& path, bool createMissing);
    void ShowOpenedState(std::int64_t records);
    void ShowClosedState();
    // Enables the editor's buttons and field as the state's row says.
    void ShowEditorState(EditorState state, bool atFirst = false, bool atLast = false);
    void Navigate(SignatureDatabase::RecordStep step);
    // Asks whether to add a closed database to the list, unless the list holds it already.
    void OfferToDatabaseList(const std::string& path);

    void btnOpenClick();
    void btnCloseClick();
    void btnFirstClick();
    void btnPreviousClick();
    void btnNextClick();
    void btnLastClick();
    void btnNewClick();
    void btnPostClick();
    void btnDeleteClick();
    void btnSetClick();

    // Tab order: SigMemo, DBFileEdit, btnOpen, btnClose, btnNew, btnPost, btnDelete, btnFirst,
    // btnPrevious, btnNext, btnLast, btnSet (then the static text's controls).
    toolkit::GroupBox DatabaseGroup;
    toolkit::Memo SigMemo;
    toolkit::Label DBFileLabel;
    toolkit::Edit DBFileEdit;
    toolkit::Button btnOpen;
    toolkit::Button btnClose;
    toolkit::Button btnNew;
    toolkit::Button btnPost;
    toolkit::Button btnDelete;
    toolkit::Button btnFirst;
    toolkit::Button btnPrevious;
    toolkit::Button btnNext;
    toolkit::Button btnLast;
    toolkit::Button btnSet;
    toolkit::Label SigLabel;
    toolkit::Image Banner;

    HWND form_;
    SignatureDatabase& database_;
    ReportSink& reports_;
    SignatureWriter& writer_;
    DatabaseListPanel& list_;
};
