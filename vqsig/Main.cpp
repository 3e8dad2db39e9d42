// vqsig: Varnquill's signatures from a console, a script or a scheduled task.
#include "vqsig/CommandLine.h"
#include "vqsig/Commands.h"
#include "vqsig/StandardStreams.h"
#include "vqsig/Usage.h"

#include <exception>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    // The C runtime splits the command line as every Windows console program does, so a
    // quote inside an argument can be given as \".
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    try {
        return vqsig::RunCommand(vqsig::ParseCommandLine(arguments));
    } catch (const vqsig::UsageError& wrongUsage) {
        vqsig::WriteStandardError(std::string(wrongUsage.what()) + "\r\n\r\n" + vqsig::UsageText());
        return 2;
    } catch (const std::exception& failure) {
        vqsig::WriteStandardError(std::string(failure.what()) + "\r\n");
        return 1;
    }
}
