#include "base/PathParts.h"

namespace base {

std::string_view FolderPart(std::string_view path) noexcept
{
    const std::size_t end = path.find_last_of("\\/:");
    return end == std::string_view::npos ? std::string_view() : path.substr(0, end + 1);
}

std::string_view FileNamePart(std::string_view path) noexcept
{
    return path.substr(FolderPart(path).size());
}

std::string JoinPath(std::string_view folder, std::string_view name)
{
    std::string path(folder);
    if (!path.empty() && path.back() != '\\' && path.back() != '/' && path.back() != ':')
        path += '\\';
    path += name;
    return path;
}

std::string_view ExtensionPart(std::string_view path) noexcept
{
    const std::string_view name = FileNamePart(path);
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

} // namespace base
