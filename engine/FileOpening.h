#pragma once
#include "base/Handles.h"

#include <cstdint>
#include <optional>
#include <string>

// The longest path the file layer takes.
constexpr std::size_t MaxPathLength = 259;

// Refuses a path the file layer has no room for, or one with a NUL inside (which would
// silently name another file), with code 3 before the file system is touched.
void CheckPath(const std::string& path);

// Opens a file with CreateFileA, failing with an IoFailure the way Windows itself does:
// a folder is refused (code 5), and so is writing to a file marked read-only (code 5),
// which Windows refuses even to administrators while a POSIX host may let root through.
// With emptied, an existing file is cut to length 0 once it is known to be writable; the
// file itself is kept, with its attributes, as the user and other programs know it. A
// device (CON, a pipe) is opened as it is, or refused with code 5 when asked.
// facts, when given, hears what the checks of the opened file read anyway, which spares
// asking again: the last write time of a file opened for writing, the length of one opened
// for reading only.
struct OpenedFileFacts {
    std::optional<FILETIME> lastWrite;
    std::optional<std::uint64_t> size;
};
enum class Devices { Allowed, Refused };
base::FileHandle OpenFile(const std::string& path, DWORD access, DWORD share, DWORD disposition, bool emptied,
                          Devices devices = Devices::Allowed, OpenedFileFacts* facts = nullptr);
