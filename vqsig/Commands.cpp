#include "vqsig/Commands.h"

#include "vqsig/CommandTable.h"
#include "vqsig/StandardStreams.h"
#include "vqsig/Usage.h"

#include <stdexcept>

namespace vqsig {

int RunCommand(const Invocation& invocation)
{
    if (invocation.command == "help") {
        WriteStandardOutput(HelpText());
        return 0;
    }
    if (invocation.command == "version") {
        WriteStandardOutput(VersionText());
        return 0;
    }
    const Command* command = FindCommand(invocation.command);
    if (!command) // the parser lets only the table's commands through
        throw std::logic_error("no command " + invocation.command);
    return command->run(invocation);
}

} // namespace vqsig
