#include "vqsig/Commands.h"

#include "engine/OwnFiles.h"
#include "base/WholeFile.h"
#include "engine/DatabaseTexts.h"
#include "engine/FortuneExport.h"
#include "settings/ProgramFiles.h"
#include "settings/ProgramLocation.h"
#include "vqsig/ProgramSettings.h"
#include "vqsig/StandardStreams.h"

#include <optional>
#include <stdexcept>

namespace vqsig {

int ExportFortunes(const Invocation& invocation)
{
    const std::string& database = invocation.operands[0];
    const std::string& target = invocation.operands[1];
    if (target != "-" && NamesOneOf(target, {database}))
        throw std::runtime_error("The fortune file would take the place of the database itself.");
    if (target != "-") {
        // Nor of any database the program lists, nor of one of its own files.
        std::vector<std::string> refused = EveryProgramListedDatabase();
        const std::vector<std::string> own = settings::ProgramOwnFiles(settings::ProgramDirectory());
        refused.insert(refused.end(), own.begin(), own.end());
        if (const std::optional<std::string> why = RefusedTarget(target, refused))
            throw std::runtime_error("Cannot export to \"" + target + "\": " + *why + ".");
    }
    const fortunes::DatabaseExport done = OnFile(database, [&] { return fortunes::ExportDatabase(database); });

    std::string summary = std::to_string(done.exported) + " exported";
    if (done.skipped > 0)
        summary += ", " + std::to_string(done.skipped) + " skipped: a fortune file cannot hold them unchanged";
    summary += "\r\n";
    // On standard output the summary would mix with the fortunes; it goes to the error stream.
    if (target == "-") {
        WriteStandardOutput(done.fortunes, TextEncoding::Utf8);
        WriteStandardError(summary);
    } else {
        base::ReplaceWholeFile(target, done.fortunes);
        WriteStandardOutput(summary);
    }
    return 0;
}

} // namespace vqsig
