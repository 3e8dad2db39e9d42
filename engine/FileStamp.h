#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

// When a file was last written and how long it is. The signature writer sets the time of
// what it writes itself, so a later stamp equal to it means nobody has written the file
// since; any other program's write, or a file put in its place, gives another stamp.
struct FileStamp {
    FILETIME lastWrite;
    std::uint64_t size;

    friend bool operator==(const FileStamp& a, const FileStamp& b) noexcept
    {
        return a.lastWrite.dwLowDateTime == b.lastWrite.dwLowDateTime &&
               a.lastWrite.dwHighDateTime == b.lastWrite.dwHighDateTime && a.size == b.size;
    }
};

// The stamp of the file at path as it is now, without opening it; nothing for a file that
// cannot be seen or a folder.
std::optional<FileStamp> StampOf(const std::string& path);
