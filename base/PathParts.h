#pragma once
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

} // namespace base
