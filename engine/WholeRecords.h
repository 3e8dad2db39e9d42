#pragma once
#include "engine/RecordFile.h"

#include <windows.h>

#include <stdexcept>
#include <string>

// A file whose length is not a whole number of records is no signature database: editing
// it in place would overwrite what it really holds.
class NotADatabase : public std::runtime_error {
public:
    NotADatabase() : std::runtime_error("Not a signature database: its size is not a multiple of 513 bytes") {}
};

// Fails with NotADatabase when the file's size is not a multiple of the record size, and
// with the IoFailure of the size query when the size cannot be read.
void RefusePartialRecords(const std::string& path);
// The same for a file already open.
void RefusePartialRecords(const RecordFile& file);

// Whether a path is named as a signature database is: with the ".sigs" extension, in any
// letter case, as Windows reads the name.
bool NamedAsDatabase(const std::string& path);

// Whether an open file is a signature database by what it holds: a size (not 0) of whole
// records, and a NUL in its first record that follows no UTF-16 or UTF-32 byte-order mark. A
// signature text in ANSI or UTF-8 never holds a NUL; a record nearly always does, as its text
// ends with one. Reads at most one record's bytes and leaves the file's position at its start,
// where a write that follows begins: the writer asks this of the handle it writes through,
// which costs no further request to the file system. A device is none. A read that fails is
// an IoFailure.
bool HoldsSignatureRecords(HANDLE file);
