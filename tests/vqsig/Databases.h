#pragma once
#include <string>
#include <vector>

// Database bytes as the program writes new records: byte 0 zero, the text, a NUL, zeros.
namespace vqsig_test {

inline std::string Database(const std::vector<std::string>& texts)
{
    std::string bytes;
    for (const std::string& text : texts) {
        std::string record = '\0' + text;
        record.resize(513, '\0');
        bytes += record;
    }
    return bytes;
}

} // namespace vqsig_test
