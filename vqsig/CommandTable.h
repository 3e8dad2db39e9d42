#pragma once
#include "vqsig/Invocation.h"

#include <cstddef>
#include <limits>
#include <span>
#include <string_view>

namespace vqsig {

inline constexpr std::size_t AnyNumber = std::numeric_limits<std::size_t>::max();

// Everything the program knows of one command: the parser checks its operands, the dispatch
// runs it and the usage and help show it, all from this one entry, so a command is added in
// one place or not at all.
struct Command {
    const char* name;
    std::size_t leastOperands;
    std::size_t mostOperands; // AnyNumber: no limit
    int (*run)(const Invocation&);
    const char* usage; // after "vqsig ": the command, its operands and options; "\n" breaks a long one
    const char* help;  // beside the name in --help, lines separated by "\n"
};

// Every command, in the order the usage lists them.
std::span<const Command> Commands();

// The command of that name, or null.
const Command* FindCommand(std::string_view name);

} // namespace vqsig
