#include "vqsig/Commands.h"

#include "vqsig/StandardStreams.h"
#include "vqsig/Usage.h"

namespace vqsig {

int RunCommand(const Invocation& invocation)
{
    const std::string& command = invocation.command;
    if (command == "help")
        WriteStandardOutput(HelpText());
    else if (command == "version")
        WriteStandardOutput(VersionText());
    else if (command == "pick")
        return Pick(invocation);
    else if (command == "count")
        return CountRecords(invocation);
    else if (command == "list")
        return ListRecords(invocation);
    else if (command == "add")
        return AddRecord(invocation);
    else if (command == "delete")
        return DeleteRecord(invocation);
    else if (command == "import")
        return ImportFortunes(invocation);
    else if (command == "export")
        return ExportFortunes(invocation);
    return 0;
}

} // namespace vqsig
