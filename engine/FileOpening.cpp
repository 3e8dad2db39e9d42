#include "engine/FileOpening.h"

#include "engine/IoFailure.h"

void CheckPath(const std::string& path)
{
    if (path.size() > MaxPathLength || path.find('\0') != std::string::npos)
        throw IoFailure(IoCode::InvalidFilename);
}

base::FileHandle OpenFile(const std::string& path, DWORD access, DWORD share, DWORD disposition, bool emptied)
{
    CheckPath(path);
    base::FileHandle file(
        CreateFileA(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throw LastWindowsFailure();
    if (GetFileType(file.Get()) == FILE_TYPE_DISK) {
        // The basic information only: the full one also asks for the volume, which is slow.
        FILE_BASIC_INFO info;
        if (!GetFileInformationByHandleEx(file.Get(), FileBasicInfo, &info, sizeof info))
            throw LastWindowsFailure();
        if (info.FileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            throw IoFailure(IoCode::AccessDenied);
        if ((access & GENERIC_WRITE) && (info.FileAttributes & FILE_ATTRIBUTE_READONLY))
            throw IoFailure(IoCode::AccessDenied);
        if (emptied && !SetEndOfFile(file.Get()))
            throw LastWindowsFailure();
    }
    return file;
}
