#include "bench/WorkFolder.h"
#include "base/PathParts.h"

#include <windows.h>

#include <stdexcept>

namespace bench {

WorkFolder::WorkFolder()
{
    char temp[MAX_PATH + 1];
    const DWORD length = GetTempPathA(sizeof temp, temp);
    if (length == 0 || length > MAX_PATH)
        throw std::runtime_error("no temporary folder");
    // GetTempFileName makes a file under a name it has checked is free; the folder takes
    // that name. Another program may take the name between the two steps: then try again.
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[MAX_PATH];
        if (!GetTempFileNameA(temp, "vqb", 0, name))
            throw std::runtime_error("GetTempFileNameA failed, error " + std::to_string(GetLastError()));
        if (!DeleteFileA(name))
            continue; // someone holds it: take another name, the file is theirs to remove
        if (CreateDirectoryA(name, nullptr)) {
            path_ = name;
            return;
        }
    }
    throw std::runtime_error("cannot make a work folder in " + std::string(temp));
}

WorkFolder::~WorkFolder()
{
    // Only files are made inside; whatever cannot be removed stays as temporary clutter.
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA(File("*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                SetFileAttributesA(File(entry.cFileName).c_str(), FILE_ATTRIBUTE_NORMAL); // see above
                DeleteFileA(File(entry.cFileName).c_str());                               // see above
            }
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(path_.c_str()); // see above
}

std::string WorkFolder::Name() const
{
    return std::string(base::FileNamePart(path_));
}

} // namespace bench
