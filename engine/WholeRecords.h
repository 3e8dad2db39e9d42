#pragma once
#include "engine/RecordFile.h"

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

// Whether an existing file is a signature database by the signs a user would go by: the
// ".sigs" extension, or a size (not 0) of whole records. A missing file or a folder is none.
bool LooksLikeDatabase(const std::string& path);
