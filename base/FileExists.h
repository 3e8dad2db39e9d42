#pragma once
#include <string>

namespace base {

// True for an existing file; a directory does not count.
bool FileExists(const std::string& path);

} // namespace base
