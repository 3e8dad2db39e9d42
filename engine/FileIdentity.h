#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

// The file system's own name for a file: the same on every path that reaches it.
struct FileIdentity {
    DWORD volume = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;
    bool operator==(const FileIdentity&) const = default;
    std::uint64_t Index() const noexcept { return (static_cast<std::uint64_t>(indexHigh) << 32) | indexLow; }
};

// The identity of an existing file or folder, or nothing when there is none to open.
std::optional<FileIdentity> IdentityOf(const std::string& path);
// The identity of an open file, or nothing when the system cannot tell it.
std::optional<FileIdentity> IdentityOf(HANDLE file);

// The file's index alone, the part of its identity that is cheap to ask for: the volume's
// serial number takes a question to the volume, which under Wine costs a thousand times
// more. Nothing when the system cannot tell it.
std::optional<std::uint64_t> FileIndexOf(HANDLE file);
