#pragma once
#include "base/CommandLine.h"

#include <string>
#include <vector>

// Where the program lives and how it was started.
namespace settings {

// The full path of the running program's file.
std::string ProgramPath();

// The directory part of ProgramPath(), ending in a backslash.
std::string ProgramDirectory();

// True when the first argument is "/MIN" in any ASCII case: start hidden in the tray.
bool StartsMinimised(const std::vector<std::string>& arguments);

} // namespace settings
