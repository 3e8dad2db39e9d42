#include "EngineTestFiles.h"

#include <algorithm>
#include <atomic>
#include <stdexcept>

namespace {

void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string child = path + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(child.c_str()); // a leftover only costs temp space
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str()); // as above
}

} // namespace

TempDir::TempDir()
{
    char base[MAX_PATH + 1];
    const DWORD length = GetTempPathA(sizeof base, base);
    if (length == 0 || length > MAX_PATH)
        throw std::runtime_error("no temporary folder");
    static std::atomic<int> serial{0};
    path_ = std::string(base) + "varnquill-engine-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++serial);
    RemoveTree(path_);
    if (!CreateDirectoryA(path_.c_str(), nullptr))
        throw std::runtime_error("cannot create " + path_);
}

TempDir::~TempDir()
{
    RemoveTree(path_);
}

SignatureRecord MakeRecord(char byte0, const std::string& text, char remnant)
{
    SignatureRecord record;
    record.fill(remnant);
    record[0] = byte0;
    const std::size_t length = std::min(text.size(), SignatureTextCapacity);
    std::copy_n(text.data(), length, record.data() + 1);
    if (length < SignatureTextCapacity)
        record[1 + length] = '\0';
    return record;
}

std::string RecordBytes(const SignatureRecord& record)
{
    return std::string(record.begin(), record.end());
}

std::string DatabaseBytes(const std::vector<SignatureRecord>& records)
{
    std::string bytes;
    for (const auto& record : records)
        bytes += RecordBytes(record);
    return bytes;
}

std::vector<SignatureRecord> NumberedRecords(int count)
{
    std::vector<SignatureRecord> records;
    for (int i = 0; i < count; ++i)
        records.push_back(MakeRecord(static_cast<char>(i * 7), "Signature " + std::to_string(i) + "\r\nline two",
                                     static_cast<char>('A' + i % 26)));
    return records;
}

std::string WriteDatabaseOfTexts(const std::string& path, const std::vector<std::string>& texts)
{
    std::vector<SignatureRecord> records;
    for (const auto& text : texts)
        records.push_back(MakeRecord('\x01', text, 'r'));
    WriteBytes(path, DatabaseBytes(records));
    return path;
}
