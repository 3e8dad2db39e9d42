// The database editor of the main window: creating or opening a database on the shared
// handle, walking its records, adding, changing and deleting them, and writing the shown
// record as the signature. The handle and the record buffer are the program's one pair
// (ProgramDatabase()), which the random change uses too; the database-open flag set here
// keeps it away while a database is open.
#include "ui/Unit1.h"

#include "engine/IoFailure.h"
#include "engine/SignatureDatabase.h"
#include "base/AsciiText.h"
#include "settings/WholeFile.h"
#include "toolkit/FileDialogs.h"

#include <stdexcept>

namespace {

constexpr const char* OpenDialogTitle = "Create new or choose an already existing signature database";
constexpr const char* DatabaseFilter = "Signature files|*.sigs|All files|*.*";
constexpr const char* DatabaseExtension = "*.sigs";
constexpr const char* ProposedName = "Untitled1.sigs";
constexpr const char* OpenFailureTitle = "File error:";
constexpr const char* CommandFailureTitle = "Error:";
constexpr const char* AlreadyOpenText = "A signature database is already open!";

// A file whose length is not a whole number of records is no signature database: editing
// it in place would overwrite what it really holds.
class NotADatabase : public std::runtime_error {
public:
    NotADatabase() : std::runtime_error("Not a signature database: its size is not a multiple of 513 bytes") {}
};

void RefusePartialRecords(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes))
        throw LastWindowsFailure();
    const ULONGLONG size = (static_cast<ULONGLONG>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
    if (size % SignatureRecordSize != 0)
        throw NotADatabase();
}

// The part of a path after its last backslash or colon.
std::string FileNameOf(const std::string& path)
{
    const std::string::size_type separator = path.find_last_of("\\:");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

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
        if (createMissing && !settings::FileExists(path)) {
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
    btnOpen.SetEnabled(false);
    btnClose.SetEnabled(true);
    btnFirst.SetEnabled(false);
    btnPrevious.SetEnabled(false);
    btnNext.SetEnabled(records >= 2);
    btnLast.SetEnabled(records >= 2);
    btnNew.SetEnabled(true);
    btnPost.SetEnabled(true);
    btnDelete.SetEnabled(records >= 1);
    SigMemo.SetEnabled(true);
    btnSet.SetEnabled(records >= 1);
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
    if (reports_.Ask("Do you want to add " + FileNameOf(path) + " to the list of signature databases?"))
        DBList.Add(path);
}

bool TForm1::DatabaseListHolds(const std::string& path) const
{
    for (const std::string& listed : DBList.Items()) {
        if (settings::AsciiEqualNoCase(listed, path))
            return true;
    }
    return false;
}

void TForm1::ShowClosedState()
{
    btnOpen.SetEnabled(true);
    btnClose.SetEnabled(false);
    SetRecordButtons(false);
    btnPost.SetEnabled(false);
    SigMemo.SetText({});
    SigMemo.SetEnabled(false);
    ProgramDatabase().SetDatabaseOpen(false);
    DBFileEdit.SetText({});
}

// "Set signature", "Delete", "New" and the four ways of moving, together; never "Post".
void TForm1::SetRecordButtons(bool enabled)
{
    btnSet.SetEnabled(enabled);
    btnDelete.SetEnabled(enabled);
    btnNew.SetEnabled(enabled);
    btnFirst.SetEnabled(enabled);
    btnPrevious.SetEnabled(enabled);
    btnNext.SetEnabled(enabled);
    btnLast.SetEnabled(enabled);
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
        SetRecordButtons(true);
        const std::int64_t p = file.Position();
        const std::int64_t n = file.Count();
        if (n == 0) {
            // Nothing to show, move to or delete (another program may have emptied the file).
            btnFirst.SetEnabled(false);
            btnPrevious.SetEnabled(false);
            btnSet.SetEnabled(false);
            btnNext.SetEnabled(false);
            btnLast.SetEnabled(false);
            btnDelete.SetEnabled(false);
            return;
        }
        const auto atFirst = [this] {
            btnFirst.SetEnabled(false);
            btnPrevious.SetEnabled(false);
        };
        const auto atLast = [this] {
            btnNext.SetEnabled(false);
            btnLast.SetEnabled(false);
        };
        switch (step) {
        case RecordStep::First:
            file.Seek(0);
            atFirst();
            break;
        case RecordStep::Last:
            file.Seek(n - 1);
            atLast();
            break;
        case RecordStep::Next:
            if (p >= n - 1) {
                atLast();
                return;
            }
            file.Seek(p + 1);
            if (p + 1 == n - 1)
                atLast();
            break;
        case RecordStep::Previous:
            if (p < 1) {
                atFirst();
                return;
            }
            file.Seek(p - 1);
            if (p - 1 == 0)
                atFirst();
            break;
        }
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
    SetRecordButtons(false);
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
    SetRecordButtons(true);
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
        btnDelete.SetEnabled(false);
        btnSet.SetEnabled(false);
        btnFirst.SetEnabled(false);
        btnPrevious.SetEnabled(false);
        btnNext.SetEnabled(false);
        btnLast.SetEnabled(false);
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
