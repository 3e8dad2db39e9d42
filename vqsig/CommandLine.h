#pragma once
#include "vqsig/Invocation.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace vqsig {

// A command line that asks for nothing this program does; the message says what is wrong.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Options may stand anywhere after the command; "--" ends them, so that a text or a file
// name that starts with a dash can follow. Fails with UsageError.
Invocation ParseCommandLine(const std::vector<std::string>& arguments);

// A record number as the user counts records: a whole number from 1 on. Fails with UsageError.
std::int64_t ParseRecordNumber(const std::string& text);

} // namespace vqsig
