#pragma once
#include <string>
#include <vector>

namespace vqsig {

// The text of every record of the database, in order. The file is opened for reading only,
// so no byte of it changes, and a read-only database can be read. Failures are IoFailures.
std::vector<std::string> ReadDatabaseTexts(const std::string& path);

} // namespace vqsig
