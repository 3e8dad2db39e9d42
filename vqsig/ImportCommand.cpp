#include "vqsig/Commands.h"

#include "base/IntegerText.h"
#include "vqsig/FileNamePatterns.h"
#include "engine/FortuneImport.h"
#include "engine/OwnFiles.h"
#include "settings/ProgramFiles.h"
#include "settings/ProgramLocation.h"
#include "vqsig/StandardStreams.h"

#include <stdexcept>

namespace vqsig {

int ImportFortunes(const Invocation& invocation)
{
    const std::string& database = invocation.operands[0];
    // A database made in the place of one of the program's own files would be read as a list
    // or a static text, or would overwrite the program itself.
    if (NamesOneOf(database, settings::ProgramOwnFiles(settings::ProgramDirectory())))
        throw std::runtime_error("\"" + database + "\" is one of Varnquill's own files.\r\n" +
                                 fortunes::NothingImported);
    std::vector<std::string> files;
    for (std::size_t i = 1; i < invocation.operands.size(); ++i) {
        const std::vector<std::string> matched = ExpandFileNamePattern(invocation.operands[i]);
        files.insert(files.end(), matched.begin(), matched.end());
    }
    std::vector<fortunes::FortuneFileImport> imports;
    try {
        imports = fortunes::ImportFortuneFiles(database, files);
    } catch (const std::exception& failure) {
        throw std::runtime_error(std::string(failure.what()) + "\r\n" + fortunes::NothingImported);
    }
    std::string summary;
    for (const fortunes::FortuneFileImport& file : imports)
        summary += file.file + ": " + std::to_string(file.imported) + " imported, " + std::to_string(file.tooLong) +
                   " skipped as too long, " + std::to_string(file.notRepresentable) +
                   " skipped as not representable\r\n";
    WriteStandardOutput(summary);
    // No database was made or changed: a script must not take that for success.
    if (!fortunes::ImportedAny(imports))
        throw std::runtime_error(fortunes::NothingImportedFrom(
            imports.size() == 1 ? imports.front().file : base::CountedText(imports.size(), "file", "files"),
            fortunes::TotalOf(imports)));
    return 0;
}

} // namespace vqsig
