#include "base/WholeFile.h"

#include "base/PathParts.h"
#include "base/Handles.h"
#include "base/SystemError.h"

#include <windows.h>

#include <algorithm>

namespace base {

namespace {

FileAccessError OpenFailure(const std::string& path, DWORD code)
{
    return FileAccessError("Cannot open file \"" + path + "\". " + base::SystemErrorText(code));
}

FileAccessError CreateFailure(const std::string& path, DWORD code)
{
    return FileAccessError("Cannot create file \"" + path + "\". " + base::SystemErrorText(code));
}

// Deletes the temporary file of an unfinished save, so a failure leaves nothing behind.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile()
    {
        if (!path_.empty())
            DeleteFileA(path_.c_str()); // best effort on a path that is already failing
    }
    const std::string& Path() const { return path_; }
    void Keep() { path_.clear(); }

private:
    std::string path_;
};

void WriteAll(HANDLE file, const std::string& bytes, const std::string& shownPath)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr))
            throw CreateFailure(shownPath, GetLastError());
        if (written == 0)
            throw CreateFailure(shownPath, ERROR_HANDLE_DISK_FULL);
        done += written;
    }
}

} // namespace

std::string ReadWholeFile(const std::string& path)
{
    std::string bytes;
    bytes.resize(ReadWholeFile(path, bytes).size());
    return bytes;
}

std::string_view ReadWholeFile(const std::string& path, std::string& buffer)
{
    const base::FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throw OpenFailure(path, GetLastError());

    // The size is only a hint, for one read straight into place: the file may grow or
    // shrink meanwhile (or be a pipe, which has none), so the loop reads to the end. A disk
    // file reads short only at its end, so one that is sized needs no read answering 0.
    LARGE_INTEGER size{};
    const bool sized = GetFileSizeEx(file.Get(), &size) && size.QuadPart > 0 && size.QuadPart < (1 << 30);
    // The buffer only grows: what it already holds is not cleared again for the next file.
    const std::size_t wanted = sized ? static_cast<std::size_t>(size.QuadPart) + 1 : 64 * 1024;
    if (buffer.size() < wanted)
        buffer.resize(wanted);
    std::size_t used = 0;
    for (;;) {
        if (used == buffer.size())
            buffer.resize(buffer.size() * 2);
        const DWORD room = static_cast<DWORD>(std::min<std::size_t>(buffer.size() - used, 1u << 30));
        DWORD read = 0;
        if (!ReadFile(file.Get(), buffer.data() + used, room, &read, nullptr))
            throw OpenFailure(path, GetLastError());
        used += read;
        if (read == 0 || (sized && read < room))
            return std::string_view(buffer.data(), used);
    }
}

DWORD MoveReplacing(const std::string& temporaryPath, const std::string& targetPath)
{
    if (!MoveFileExA(temporaryPath.c_str(), targetPath.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return GetLastError();
    return ERROR_SUCCESS;
}

void ReplaceWholeFile(const std::string& path, const std::string& bytes, ReplaceStep replace)
{
    char temporaryName[MAX_PATH + 1] = {};
    // A bare file name lives in the current directory, and so does its temporary file.
    const std::string directory(FolderPart(path));
    if (GetTempFileNameA(directory.empty() ? "." : directory.c_str(), "vq", 0, temporaryName) == 0)
        throw CreateFailure(path, GetLastError());
    TemporaryFile temporary(temporaryName);

    {
        const base::FileHandle file(CreateFileA(temporary.Path().c_str(), GENERIC_WRITE, 0, nullptr,
                                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            throw CreateFailure(path, GetLastError());
        WriteAll(file.Get(), bytes, path);
        if (!FlushFileBuffers(file.Get()))
            throw CreateFailure(path, GetLastError());
    }

    const DWORD replaced = replace(temporary.Path(), path);
    if (replaced != ERROR_SUCCESS)
        throw CreateFailure(path, replaced);
    temporary.Keep();
}

} // namespace base
