#include "vqsig/Commands.h"

#include "engine/OwnFiles.h"
#include "base/WholeFile.h"
#include "base/CodePages.h"
#include "vqsig/DatabaseTexts.h"
#include "vqsig/FortuneFile.h"
#include "vqsig/StandardStreams.h"

#include <stdexcept>

namespace vqsig {

namespace {

// The record's text as a fortune file entry, or nothing when reading that entry back would
// not give the same text: an empty text, empty lines around it, a line holding only "%", a
// line break other than CR LF, or a character UTF-8 cannot carry back.
std::optional<std::string> EntryKeepingText(const std::string& text)
{
    std::string entry = FortuneEntry(base::AnsiToUtf8(text));
    const std::vector<std::string> readBack = FortuneTexts(entry);
    if (readBack.size() != 1 || base::Utf8ToAnsi(readBack.front()) != text)
        return std::nullopt;
    return entry;
}

} // namespace

int ExportFortunes(const Invocation& invocation)
{
    const std::string& database = invocation.operands[0];
    const std::string& target = invocation.operands[1];
    if (target != "-" && NamesOneOf(target, {database}))
        throw std::runtime_error("The fortune file would take the place of the database itself.");
    std::string fortunes;
    std::size_t exported = 0;
    std::size_t skipped = 0;
    OnFile(database, [&] {
        ForEachDatabaseText(database, [&](const std::string& text) {
            if (const std::optional<std::string> entry = EntryKeepingText(text)) {
                fortunes += *entry;
                ++exported;
            } else {
                ++skipped;
            }
        });
    });

    std::string summary = std::to_string(exported) + " exported";
    if (skipped > 0)
        summary += ", " + std::to_string(skipped) + " skipped: a fortune file cannot hold them unchanged";
    summary += "\r\n";
    // On standard output the summary would mix with the fortunes; it goes to the error stream.
    if (target == "-") {
        WriteStandardOutput(fortunes, TextEncoding::Utf8);
        WriteStandardError(summary);
    } else {
        base::ReplaceWholeFile(target, fortunes);
        WriteStandardOutput(summary);
    }
    return 0;
}

} // namespace vqsig
