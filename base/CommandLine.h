#pragma once
#include <string>
#include <vector>

// How the program was started.
namespace base {

// The arguments after the program's own name on this process's command line.
std::vector<std::string> CommandLineArguments();

// Splits a whole command line (program name first) into words: whitespace separates them,
// double quotes group blanks into a word and are themselves removed.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

} // namespace base
