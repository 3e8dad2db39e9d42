#include "engine/FileOpening.h"

#include "engine/IoFailure.h"

void CheckPath(const std::string& path)
{
    if (path.size() > MaxPathLength || path.find('\0') != std::string::npos)
        throw IoFailure(IoCode::InvalidFilename);
}

base::FileHandle OpenFile(const std::string& path, DWORD access, DWORD share, DWORD disposition, bool emptied,
                          Devices devices, OpenedFileFacts* facts)
{
    CheckPath(path);
    base::FileHandle file(
        CreateFileA(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throw LastWindowsFailure();
    if (GetFileType(file.Get()) != FILE_TYPE_DISK) {
        if (devices == Devices::Refused)
            throw IoFailure(IoCode::AccessDenied);
        return file;
    }
    // Only what the checks need, which a random change asks for every time: the full
    // information also asks for the volume, which is slow, and the attributes cost more
    // than the standard information, which tells a folder too.
    if (access & GENERIC_WRITE) {
        FILE_BASIC_INFO info;
        if (!GetFileInformationByHandleEx(file.Get(), FileBasicInfo, &info, sizeof info))
            throw LastWindowsFailure();
        if (info.FileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))
            throw IoFailure(IoCode::AccessDenied);
        if (facts) {
            const auto time = static_cast<ULONGLONG>(info.LastWriteTime.QuadPart);
            facts->lastWrite = FILETIME{static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
        }
    } else {
        FILE_STANDARD_INFO info;
        if (!GetFileInformationByHandleEx(file.Get(), FileStandardInfo, &info, sizeof info))
            throw LastWindowsFailure();
        if (info.Directory)
            throw IoFailure(IoCode::AccessDenied);
        if (facts)
            facts->size = static_cast<std::uint64_t>(info.EndOfFile.QuadPart);
    }
    if (emptied && !SetEndOfFile(file.Get()))
        throw LastWindowsFailure();
    return file;
}
