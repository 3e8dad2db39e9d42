// vqsig: Varnquill's signatures from a console, a script or a scheduled task.
#include "base/CodePages.h"
#include "vqsig/CommandLine.h"
#include "vqsig/CommandTable.h"
#include "vqsig/StandardStreams.h"
#include "vqsig/Usage.h"

#include <exception>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// The arguments in the ANSI code page the databases and file names use. They come as the
// user typed them (the C runtime splits the wide command line as every Windows console
// program does, so a quote inside an argument can be given as \"); one with a character the
// code page has no form for is refused rather than stored, or opened, as a look-alike.
std::vector<std::string> AnsiArguments(int count, wchar_t** wide)
{
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i) {
        std::optional<std::string> ansi = base::WideToAnsi(wide[i]);
        if (!ansi)
            throw std::runtime_error("The argument \"" + base::ShownInAnsi(wide[i]) +
                                     "\" holds characters that the ANSI code page has no form for.");
        arguments.push_back(std::move(*ansi));
    }
    return arguments;
}

// Runs the command the table names, or answers "help" and "version" itself.
int RunCommand(const vqsig::Invocation& invocation)
{
    if (invocation.command == "help") {
        vqsig::WriteStandardOutput(vqsig::HelpText());
        return 0;
    }
    if (invocation.command == "version") {
        vqsig::WriteStandardOutput(vqsig::VersionText());
        return 0;
    }
    const vqsig::Command* command = vqsig::FindCommand(invocation.command);
    if (!command) // the parser lets only the table's commands through
        throw std::logic_error("no command " + invocation.command);
    return command->run(invocation);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    try {
        return RunCommand(vqsig::ParseCommandLine(AnsiArguments(argc, argv)));
    } catch (const vqsig::UsageError& wrongUsage) {
        vqsig::WriteStandardError(std::string(wrongUsage.what()) + "\r\n\r\n" + vqsig::UsageText());
        return 2;
    } catch (const vqsig::OutputClosed&) {
        return 1;
    } catch (const std::bad_alloc&) {
        vqsig::WriteStandardError("Not enough memory.\r\n");
        return 1;
    } catch (const std::exception& failure) {
        vqsig::WriteStandardError(std::string(failure.what()) + "\r\n");
        return 1;
    }
}
