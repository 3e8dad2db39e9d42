#pragma once
#include <string>

namespace vqsig {

// The short form of every command, shown after a wrong command line.
std::string UsageText();

// The usage with what each command does, for --help.
std::string HelpText();

// "vqsig <version>" and a line break.
std::string VersionText();

} // namespace vqsig
