#pragma once
#include "engine/SignatureRecord.h"
#include "tests/common/TestFiles.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Real files for the engine's tests: a fresh directory under the system's temporary folder,
// removed with everything in it (read-only files too) when the test ends.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

// A record with the given byte 0 and text, and the rest filled with a remnant byte.
SignatureRecord MakeRecord(char byte0, const std::string& text, char remnant = '#');
std::string RecordBytes(const SignatureRecord& record);
// A database of the given records, one after another.
std::string DatabaseBytes(const std::vector<SignatureRecord>& records);

// Writes a database of the given texts (each record's remnant 'r') at path; answers path.
std::string WriteDatabaseOfTexts(const std::string& path, const std::vector<std::string>& texts);
// Records with distinct texts and bytes, as a database of n records would hold them.
std::vector<SignatureRecord> NumberedRecords(int count);
