#pragma once
#include <optional>
#include <string>
#include <vector>

namespace vqsig {

// The command line as the user gave it: a command, its operands and pick's options. Read
// by the parser (CommandLine.h), run by the commands (Commands.h).
struct Invocation {
    std::string command; // "pick", "count", "list", "add", "delete", "import", "export", "help", "version"
    std::vector<std::string> operands;

    // pick only.
    std::optional<std::string> listFile;
    std::optional<std::string> outFile;
    std::optional<std::string> staticFile;
    bool toStandardOutput = false;
    bool above = false;
    bool below = false;
    bool noDelimiter = false;
};

} // namespace vqsig
