#include "vqsig/Commands.h"

#include "vqsig/CommandLine.h"
#include "base/TextLines.h"
#include "engine/RecordFile.h"
#include "engine/SignatureDatabase.h"
#include "engine/SignatureRecord.h"
#include "engine/DatabaseTexts.h"
#include "vqsig/StandardStreams.h"

#include <stdexcept>

namespace vqsig {

int CountRecords(const Invocation& invocation)
{
    const std::string& path = invocation.operands[0];
    const std::int64_t count = OnFile(path, [&] {
        RecordFile file;
        OpenDatabase(file, path, DatabaseAccess::Read);
        return file.Count();
    });
    WriteStandardOutput(std::to_string(count) + "\r\n");
    return 0;
}

int ListRecords(const Invocation& invocation)
{
    // Written out as it is read, so the listing of a database of any size fits in memory.
    constexpr std::size_t OutputChunk = 1 << 16;
    const std::string& path = invocation.operands[0];
    std::string listing;
    std::int64_t number = 0;
    OnFile(path, [&] {
        ForEachDatabaseText(path, [&](const std::string& text) {
            listing += '#';
            listing += std::to_string(++number);
            listing += "\r\n" + text + "\r\n%\r\n";
            if (listing.size() >= OutputChunk) {
                WriteStandardOutput(listing);
                listing.clear();
            }
        });
    });
    WriteStandardOutput(listing);
    return 0;
}

int AddRecord(const Invocation& invocation)
{
    // The text is taken as the editor takes its field: lines end at CR LF, CR or LF, are
    // joined by CR LF, and a trailing line break does not start another line.
    const std::string given = invocation.operands.size() > 1 ? invocation.operands[1] : ReadStandardInput();
    const std::vector<std::string> lines = base::SplitLines(given);
    const std::string text = RecordText(lines);
    if (text.find('\0') != std::string::npos)
        throw std::runtime_error("The text holds a NUL byte, which would end the signature there.");
    if (text.size() > SignatureTextCapacity)
        throw std::runtime_error("The text is " + std::to_string(text.size()) +
                                 " bytes long; a signature holds at most 512.");

    const std::string& path = invocation.operands[0];
    const std::int64_t count = OnFile(path, [&] {
        RecordFile file;
        OpenDatabase(file, path, DatabaseAccess::ChangeOrCreate);
        const std::int64_t before = file.Count();
        file.Seek(before);
        SignatureRecord record{};
        FillRecord(record, lines);
        file.WriteRecord(record);
        return before;
    });
    WriteStandardOutput("Record " + std::to_string(count + 1) + " added.\r\n");
    return 0;
}

int DeleteRecord(const Invocation& invocation)
{
    const std::int64_t number = ParseRecordNumber(invocation.operands[1]);
    const std::string& path = invocation.operands[0];
    OnFile(path, [&] {
        SignatureDatabase database;
        RecordFile& file = database.File();
        OpenDatabase(file, path, DatabaseAccess::Change);
        const std::int64_t count = file.Count();
        if (number > count)
            throw std::runtime_error("There is no record " + std::to_string(number) + ": the database holds " +
                                     std::to_string(count) + ".");
        file.Seek(number - 1);
        database.DeleteCurrent();
    });
    WriteStandardOutput("Record " + std::to_string(number) + " deleted.\r\n");
    return 0;
}

} // namespace vqsig
