#pragma once
#include "engine/SignatureRecord.h"
#include "base/Handles.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

// A file of fixed 513-byte signature records on a Win32 handle, with a record cursor (the
// index of the next record read or written). Every failure is an IoFailure; nothing here
// reports failure by its result.
class RecordFile {
public:
    RecordFile() = default;
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    // Paths longer than 259 characters fail with code 3 before the file system is touched.
    // Opens an existing file for reading and writing, sharing both with other programs;
    // cursor at 0. Closes a file still open first.
    void OpenExisting(const std::string& path);
    // Creates the file, or empties an existing one, with the same access; cursor at 0.
    void Create(const std::string& path);
    // Opens the file, creating it only when it is missing; what it holds is kept. Cursor at 0.
    void OpenOrCreate(const std::string& path);
    // Opens an existing file for reading only, sharing reading and writing: a file marked
    // read-only, on a read-only share or in a write-protected folder opens too, and nothing
    // done through the handle can change it. Writing to it then fails with code 5.
    void OpenForReading(const std::string& path);
    bool IsOpen() const noexcept { return static_cast<bool>(handle_); }
    // Closing a file that is not open does nothing.
    void Close() noexcept;

    // Whole records only: a trailing partial record is not counted.
    std::int64_t Count() const;
    // Whether the file's length is a whole number of records, as a database's is.
    bool HoldsWholeRecords() const;
    std::int64_t Position() const;
    // Seeking beyond the end is allowed; a negative record fails with code 131.
    void Seek(std::int64_t record);
    bool AtEnd() const;

    // Reads the record at the cursor; the cursor moves past it. A short read fails with
    // code 100 and leaves what it did read in the record.
    void ReadRecord(SignatureRecord& into);
    // Writes the record at the cursor, overwriting or appending; the cursor moves past it.
    void WriteRecord(const SignatureRecord& from);
    // The same for a run of whole records (the span's size is a multiple of 513) in one call.
    void ReadRecords(std::span<char> into);
    void WriteRecords(std::span<const char> from);
    // Cuts the file at the cursor: the count becomes the cursor.
    void Truncate();

private:
    HANDLE Handle() const;
    std::int64_t BytePosition() const;
    void Open(const std::string& path, DWORD access, DWORD disposition, bool emptied);

    base::FileHandle handle_;
    // The length the opening read, for a handle opened for reading only; none otherwise.
    std::optional<std::uint64_t> sizeAsOpened_;
};
