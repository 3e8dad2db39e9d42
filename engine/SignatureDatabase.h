#pragma once
#include "engine/IoFailure.h"
#include "engine/RandomIndex.h"
#include "engine/RecordFile.h"
#include "engine/SignatureRecord.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// The signature database state the whole program shares: the one record buffer (zero-filled
// at start), the one database handle with its cursor, and the two flags. The database editor
// and the random change take turns on it; the random change refuses while the editor has a
// database open. Every file failure is an IoFailure for the calling command to report.
class SignatureDatabase {
public:
    // Deleting moves the following records through a holding area of this many records
    // (1 MiB): large reads and writes, yet small enough to stay in the processor's cache
    // between a block's read and its write, and to cost few fresh pages. Measured on a
    // 51 MB database, it moves the tail faster than one read and one write of the whole
    // tail from a buffer already in memory; 8 MiB blocks are slower, and a holding area for
    // the whole tail takes more than twice as long, most of it in fresh pages.
    static constexpr std::int64_t DeleteBlockRecords = (1 << 20) / static_cast<std::int64_t>(SignatureRecordSize);

    SignatureDatabase() = default;
    SignatureDatabase(const SignatureDatabase&) = delete;
    SignatureDatabase& operator=(const SignatureDatabase&) = delete;

    // The handle itself.
    RecordFile& File() noexcept { return file_; }
    const RecordFile& File() const noexcept { return file_; }
    SignatureRecord& Buffer() noexcept { return buffer_; }
    const SignatureRecord& Buffer() const noexcept { return buffer_; }

    // True while the editor has a database open; set and cleared by the editor only.
    bool DatabaseOpen() const noexcept { return databaseOpen_; }
    void SetDatabaseOpen(bool open) noexcept { databaseOpen_ = open; }
    // True while the editor composes a record that Post must append.
    bool AddingMode() const noexcept { return addingMode_; }
    void SetAddingMode(bool adding) noexcept { addingMode_ = adding; }

    // --- Record operations. The editor calls the ones marked (editor). ---

    // The text of the record buffer.
    std::string BufferText() const { return TextOfRecord(buffer_); }
    // Fills the buffer from the signature field's lines (see FillRecord).
    void FillBuffer(const std::vector<std::string>& lines) { FillRecord(buffer_, lines); }

    // (editor) Opens the existing database at path on the handle, refusing a file that is not
    // whole records, with the cursor on its first record. Answers how many records it holds.
    // A failure leaves the handle for CloseEditing.
    std::int64_t OpenForEditing(const std::string& path);
    // (editor) Creates the database at path, empty, for the first record to be added.
    void CreateForEditing(const std::string& path);
    void CloseEditing() noexcept;
    // (editor) Moves the cursor one step, where the step leads; nothing for an empty database.
    enum class RecordStep { First, Last, Next, Previous };
    struct CursorMove {
        bool moved = true;    // false at an end already: the cursor stayed
        bool atFirst = false; // the cursor is on the first record, as far as the step tells
        bool atLast = false;
    };
    std::optional<CursorMove> MoveCursor(RecordStep step);

    // (editor) Reads the record at the cursor and returns its text for the signature field;
    // the cursor stays on that record.
    std::string ShowCurrent();
    // (editor) Stores the field's lines (as the field splits them): appended in adding
    // mode, else over the record at the cursor. The cursor then rests on the record written
    // and adding mode is cleared, so a second post overwrites it.
    void Post(const std::vector<std::string>& lines);
    // (editor) Deletes the record at the cursor and returns the text of the record now
    // shown (the one that followed, or the new last one), or nothing when the database is
    // left empty. With the cursor at or past the end nothing is deleted.
    std::optional<std::string> DeleteCurrent();

    // (random change) Opens the database at path for reading only, reads a record picked at
    // random into the buffer and closes it again. Returns its text, or nothing for a database without
    // records. A failure to open is a DatabaseOpenFailure; any later failure closes the
    // database and travels on as it is.
    std::optional<std::string> RandomRecord(const std::string& path, RandomIndexSource& random);
    // (ordered change) The same with the record chosen by choose from the database's record
    // count: its index, or nothing to read none (the database is then only counted).
    using RecordChoice = std::function<std::optional<std::int64_t>(std::int64_t count)>;
    std::optional<std::string> ChosenRecord(const std::string& path, const RecordChoice& choose);
    // (ordered change) Opens the database at path for reading only and hands every record's
    // index and text to visit, in file order, a block of records per read; then closes it.
    void VisitTexts(const std::string& path,
                    const std::function<void(std::int64_t index, const std::string& text)>& visit);

private:
    SignatureRecord buffer_{};
    RecordFile file_;
    bool databaseOpen_ = false;
    bool addingMode_ = false;
};

// The random pick could not open its database (as opposed to failing to read it).
class DatabaseOpenFailure : public IoFailure {
public:
    explicit DatabaseOpenFailure(const IoFailure& failure) : IoFailure(failure) {}
};
