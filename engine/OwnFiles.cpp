#include "engine/OwnFiles.h"
#include "base/PathParts.h"

#include "engine/FileIdentity.h"

#include <windows.h>

#include <algorithm>

std::string PlainFullPath(const std::string& path)
{
    if (path.empty() || path.find('\0') != std::string::npos)
        return {};
    std::string full(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0)
            return {};
        // Too small a buffer answers the size needed, counting the NUL; a fitting one the
        // length without it.
        if (length < full.size()) {
            full.resize(length);
            break;
        }
        full.assign(length, '\0');
    }
    if (full.starts_with("\\\\?\\") || full.starts_with("\\\\.\\")) {
        full.erase(0, 4);
        if (full.size() > 4 && full.compare(0, 4, "UNC\\") == 0)
            full.replace(0, 3, "\\");
    }
    return full;
}

namespace {

std::wstring Wide(const std::string& ansi)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    // A path's length fits an int, and CP_ACP is always known: the size query answered.
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), length);
    return wide;
}

// Equal but for letter case, folded as the file system folds names (beyond A to Z too).
bool SameName(const std::string& a, const std::string& b)
{
    const std::wstring wideA = Wide(a);
    const std::wstring wideB = Wide(b);
    return CompareStringOrdinal(wideA.data(), static_cast<int>(wideA.size()), wideB.data(),
                                static_cast<int>(wideB.size()), TRUE) == CSTR_EQUAL;
}

// One path, looked up once for the comparisons against many.
class FileLocation {
public:
    explicit FileLocation(const std::string& path) : full_(PlainFullPath(path))
    {
        if (!full_.empty())
            identity_ = IdentityOf(full_);
    }

    bool Valid() const { return !full_.empty(); }

    bool SameAs(FileLocation& other)
    {
        if (identity_ || other.identity_)
            return identity_ && other.identity_ && *identity_ == *other.identity_;
        // Neither exists (yet): the same name in the same folder.
        const std::optional<FileIdentity>& folder = Folder();
        if (folder && other.Folder())
            return *folder == *other.Folder() && SameName(Name(), other.Name());
        return SameName(full_, other.full_);
    }

private:
    std::string Name() const { return std::string(base::FileNamePart(full_)); }

    const std::optional<FileIdentity>& Folder()
    {
        if (!folderLooked_) {
            folderLooked_ = true;
            const std::string_view folder = base::FolderPart(full_);
            if (!folder.empty())
                folder_ = IdentityOf(std::string(folder));
        }
        return folder_;
    }

    std::string full_;
    std::optional<FileIdentity> identity_;
    bool folderLooked_ = false;
    std::optional<FileIdentity> folder_;
};

} // namespace

bool NamesOneOf(const std::string& path, const std::vector<std::string>& files)
{
    FileLocation target(path);
    if (!target.Valid())
        return false;
    return std::any_of(files.begin(), files.end(), [&](const std::string& file) {
        FileLocation other(file);
        return other.Valid() && target.SameAs(other);
    });
}

bool NamesDataStream(const std::string& path)
{
    const std::string full = PlainFullPath(path);
    // Past a drive's colon, a colon only ever starts a stream's name.
    const std::size_t from = full.size() > 1 && full[1] == ':' ? 2 : 0;
    return full.find(':', from) != std::string::npos;
}

std::optional<std::string> RefusedTarget(const std::string& path, const std::vector<std::string>& files)
{
    if (NamesDataStream(path))
        return DataStreamMessage;
    if (NamesOneOf(path, files))
        return OwnFileMessage;
    return std::nullopt;
}
