#include "vqsig/DatabaseTexts.h"

#include "engine/RecordFile.h"
#include "engine/SignatureRecord.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace vqsig {

std::vector<std::string> ReadDatabaseTexts(const std::string& path)
{
    // A few large reads rather than one call per record, in blocks that keep the memory
    // used small next to the texts themselves.
    constexpr std::int64_t BlockRecords = 4096;
    RecordFile file;
    file.OpenForReading(path);
    const std::int64_t count = file.Count();
    std::vector<std::string> texts;
    texts.reserve(static_cast<std::size_t>(count));
    const std::size_t blockBytes = static_cast<std::size_t>(std::min(count, BlockRecords)) * SignatureRecordSize;
    const std::unique_ptr<char[]> block(new char[blockBytes]);
    for (std::int64_t done = 0; done < count;) {
        const std::int64_t records = std::min(count - done, BlockRecords);
        file.ReadRecords(std::span<char>(block.get(), static_cast<std::size_t>(records) * SignatureRecordSize));
        for (std::int64_t i = 0; i < records; ++i) {
            SignatureRecord record;
            std::memcpy(record.data(), block.get() + i * SignatureRecordSize, SignatureRecordSize);
            texts.push_back(TextOfRecord(record));
        }
        done += records;
    }
    return texts;
}

} // namespace vqsig
