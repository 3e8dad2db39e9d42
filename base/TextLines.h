#pragma once
#include <string>
#include <vector>

namespace base {

// The lines of a text, split at CR LF, or a lone CR or LF. An empty line in the middle is a
// line; a trailing line break ends the last line and does not start an empty one. The text
// fields, the signature records and the database list all read lines this way.
std::vector<std::string> SplitLines(const std::string& text);

} // namespace base
