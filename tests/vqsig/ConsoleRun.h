#pragma once
#include <windows.h>

#include <string>
#include <vector>

// One run of the built vqsig.exe as its own process, its standard input fed from a pipe and
// its output and error caught in files, as a script that redirects them would see them.
namespace vqsig_test {

struct ConsoleRun {
    DWORD exitCode = 0;
    std::string out;
    std::string err;
};

// The built program, or another copy of it.
std::string BuiltProgram();

// Runs program with the arguments, quoted as the C runtime splits them, and waits for it.
ConsoleRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& input = "");

inline ConsoleRun Vqsig(const std::vector<std::string>& arguments, const std::string& input = "")
{
    return RunProgram(BuiltProgram(), arguments, input);
}

} // namespace vqsig_test
