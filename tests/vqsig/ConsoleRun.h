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

// Where the program's standard output goes: a file the run reads back, or a pipe whose
// reader has gone before the program starts (as after "| more" was quit).
enum class Output { File, ClosedPipe };

// Runs program with the arguments, given in UTF-8 and quoted as the C runtime splits them,
// and waits for it.
ConsoleRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& input = "", Output output = Output::File);

inline ConsoleRun Vqsig(const std::vector<std::string>& arguments, const std::string& input = "",
                        Output output = Output::File)
{
    return RunProgram(BuiltProgram(), arguments, input, output);
}

} // namespace vqsig_test
