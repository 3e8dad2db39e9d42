#include "vqsig/Commands.h"

#include "settings/WholeFile.h"
#include "base/Handles.h"
#include "vqsig/CodePages.h"
#include "vqsig/DatabaseTexts.h"
#include "vqsig/FortuneFile.h"
#include "vqsig/StandardStreams.h"

#include <windows.h>

#include <stdexcept>

namespace vqsig {

namespace {

// True when both paths name one existing file, however they spell it (another case, a
// relative path, a second link).
bool SameFile(const std::string& a, const std::string& b)
{
    BY_HANDLE_FILE_INFORMATION info[2];
    const std::string* paths[2] = {&a, &b};
    for (int i = 0; i < 2; ++i) {
        // No access asked: a file only looked at, whoever else has it open.
        const base::FileHandle file(CreateFileA(paths[i]->c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE |
                                                FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr));
        if (!file || !GetFileInformationByHandle(file.Get(), &info[i]))
            return false; // a target that does not exist yet is no database
    }
    return info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber &&
           info[0].nFileIndexHigh == info[1].nFileIndexHigh && info[0].nFileIndexLow == info[1].nFileIndexLow;
}

// The record's text as a fortune file entry, or nothing when reading that entry back would
// not give the same text: an empty text, empty lines around it, a line holding only "%", a
// line break other than CR LF, or a character UTF-8 cannot carry back.
std::optional<std::string> EntryKeepingText(const std::string& text)
{
    std::string entry = FortuneEntry(AnsiToUtf8(text));
    const std::vector<std::string> readBack = FortuneTexts(entry);
    if (readBack.size() != 1 || Utf8ToAnsi(readBack.front()) != text)
        return std::nullopt;
    return entry;
}

} // namespace

int ExportFortunes(const Invocation& invocation)
{
    const std::string& database = invocation.operands[0];
    const std::string& target = invocation.operands[1];
    if (target != "-" && SameFile(database, target))
        throw std::runtime_error("The fortune file would take the place of the database itself.");
    std::string fortunes;
    std::size_t exported = 0;
    std::size_t skipped = 0;
    for (const std::string& text : ReadDatabaseTexts(database)) {
        if (const std::optional<std::string> entry = EntryKeepingText(text)) {
            fortunes += *entry;
            ++exported;
        } else {
            ++skipped;
        }
    }

    std::string summary = std::to_string(exported) + " exported";
    if (skipped > 0)
        summary += ", " + std::to_string(skipped) + " skipped: a fortune file cannot hold them unchanged";
    summary += "\r\n";
    // On standard output the summary would mix with the fortunes; it goes to the error stream.
    if (target == "-") {
        WriteStandardOutput(fortunes, TextEncoding::Utf8);
        WriteStandardError(summary);
    } else {
        settings::ReplaceWholeFile(target, fortunes);
        WriteStandardOutput(summary);
    }
    return 0;
}

} // namespace vqsig
