#include "engine/FileOpening.h"

#include "engine/IoFailure.h"

void CheckPath(const std::string& path)
{
    if (path.size() > MaxPathLength || path.find('\0') != std::string::npos)
        throw IoFailure(IoCode::InvalidFilename);
}

toolkit::FileHandle OpenFile(const std::string& path, DWORD access, DWORD share, DWORD disposition, bool emptied)
{
    CheckPath(path);
    toolkit::FileHandle file(
        CreateFileA(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throw LastWindowsFailure();
    if (GetFileType(file.Get()) == FILE_TYPE_DISK) {
        BY_HANDLE_FILE_INFORMATION info;
        if (!GetFileInformationByHandle(file.Get(), &info))
            throw LastWindowsFailure();
        if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            throw IoFailure(IoCode::AccessDenied);
        if ((access & GENERIC_WRITE) && (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY))
            throw IoFailure(IoCode::AccessDenied);
        if (emptied && !SetEndOfFile(file.Get()))
            throw LastWindowsFailure();
    }
    return file;
}
