#pragma once
#include <string>
#include <vector>

// What the signature writer reports when its target is one of the program's own files.
inline constexpr const char* OwnFileMessage = "It is a signature database or one of Varnquill's own files";

// Whether path names one of files: their full paths (GetFullPathNameA, against the current
// folder) are equal but for the letter case of A to Z. A path that cannot be made full names
// no file, and an empty one is never a file.
bool NamesOneOf(const std::string& path, const std::vector<std::string>& files);
