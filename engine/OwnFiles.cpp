#include "engine/OwnFiles.h"

#include "base/AsciiText.h"

#include <windows.h>

#include <algorithm>
#include <optional>

namespace {

std::optional<std::string> FullPath(const std::string& path)
{
    if (path.empty() || path.find('\0') != std::string::npos)
        return std::nullopt;
    std::string full(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0)
            return std::nullopt;
        // Too small a buffer answers the size needed, counting the NUL; a fitting one the
        // length without it.
        if (length < full.size()) {
            full.resize(length);
            return full;
        }
        full.assign(length, '\0');
    }
}

} // namespace

bool NamesOneOf(const std::string& path, const std::vector<std::string>& files)
{
    const std::optional<std::string> target = FullPath(path);
    if (!target)
        return false;
    return std::any_of(files.begin(), files.end(), [&](const std::string& file) {
        const std::optional<std::string> full = FullPath(file);
        return full && base::AsciiEqualNoCase(*target, *full);
    });
}
