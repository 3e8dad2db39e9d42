#pragma once
#include <string>
#include <vector>

namespace vqsig {

// The files a name stands for. The Windows command interpreter hands "*" and "?" to the
// program unexpanded, so the program expands them itself: in the last part of the name
// only, files and not folders, sorted by name. A name without them stands for itself; a
// pattern that matches no file fails.
std::vector<std::string> ExpandFileNamePattern(const std::string& pattern);

} // namespace vqsig
