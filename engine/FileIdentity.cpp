#include "engine/FileIdentity.h"

#include "base/Handles.h"

#include <winternl.h>

std::optional<FileIdentity> IdentityOf(const std::string& path)
{
    // No access asked, every sharing allowed: only looked at, whoever else holds it. Backup
    // semantics let a folder open too.
    const base::FileHandle file(CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file)
        return std::nullopt;
    return IdentityOf(file.Get());
}

std::optional<FileIdentity> IdentityOf(HANDLE file)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(file, &info))
        return std::nullopt;
    return FileIdentity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

std::optional<std::uint64_t> FileIndexOf(HANDLE file)
{
    // The index GetFileInformationByHandle gives too, without the volume's question.
    IO_STATUS_BLOCK status;
    FILE_INTERNAL_INFORMATION info;
    if (!NT_SUCCESS(NtQueryInformationFile(file, &status, &info, sizeof info, FileInternalInformation)))
        return std::nullopt;
    return static_cast<std::uint64_t>(info.IndexNumber.QuadPart);
}
