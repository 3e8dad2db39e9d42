#include "engine/DatabaseTexts.h"

#include "engine/SignatureRecord.h"

#include <algorithm>
#include <cstring>
#include <memory>

void OpenDatabase(RecordFile& file, const std::string& path, DatabaseAccess access)
{
    switch (access) {
    case DatabaseAccess::Read: file.OpenForReading(path); break;
    case DatabaseAccess::Change: file.OpenExisting(path); break;
    case DatabaseAccess::ChangeOrCreate: file.OpenOrCreate(path); break;
    }
    RefusePartialRecords(file);
}

void ForEachDatabaseText(const std::string& path, const std::function<void(const std::string&)>& take)
{
    // A few large reads rather than one call per record, in blocks that keep the memory
    // used small next to the texts themselves.
    constexpr std::int64_t BlockRecords = 4096;
    RecordFile file;
    OpenDatabase(file, path, DatabaseAccess::Read);
    const std::int64_t count = file.Count();
    const std::size_t blockBytes = static_cast<std::size_t>(std::min(count, BlockRecords)) * SignatureRecordSize;
    const std::unique_ptr<char[]> block(new char[blockBytes]);
    for (std::int64_t done = 0; done < count;) {
        const std::int64_t records = std::min(count - done, BlockRecords);
        file.ReadRecords(std::span<char>(block.get(), static_cast<std::size_t>(records) * SignatureRecordSize));
        for (std::int64_t i = 0; i < records; ++i) {
            SignatureRecord record;
            std::memcpy(record.data(), block.get() + i * SignatureRecordSize, SignatureRecordSize);
            take(TextOfRecord(record));
        }
        done += records;
    }
}

