#pragma once
#include <string>
#include <string_view>

// A path cut into its folder, file name and extension as Windows reads it: "\" and "/" both
// separate folders, and a drive's colon ends the folder of "C:name".
namespace base {

// Up to and including the last separator or drive colon; empty for a bare file name.
std::string_view FolderPart(std::string_view path) noexcept;

// What follows the folder part.
std::string_view FileNamePart(std::string_view path) noexcept;

// The file name's last dot and what follows it; empty when the name holds no dot.
std::string_view ExtensionPart(std::string_view path) noexcept;

// The one way paths are joined: name inside folder, with exactly one "\" between them, whether
// or not folder ends in a separator already. A folder that ends in a drive's colon ("C:")
// takes the name as it is, as FolderPart cuts it; an empty folder gives the name alone.
// JoinPath(folder, "") is the folder ending in one separator.
std::string JoinPath(std::string_view folder, std::string_view name);

} // namespace base
