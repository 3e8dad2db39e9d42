#include "vqsig/FortuneImport.h"

#include "engine/RecordFile.h"
#include "engine/SignatureRecord.h"
#include "settings/WholeFile.h"
#include "vqsig/CodePages.h"
#include "vqsig/FortuneFile.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace vqsig {

namespace {

bool IsAscii(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Appends each text that fits as one zero-filled record, counting the ones that do not.
class RecordCollector {
public:
    void Add(const std::string& fileText, bool utf8, FortuneFileImport& counts)
    {
        std::optional<std::string> converted;
        // ASCII is the same in both, and most fortunes are ASCII: no conversion for them.
        if (utf8 && !IsAscii(fileText))
            converted = Utf8ToAnsi(fileText);
        else
            converted = fileText;
        // A NUL would end the record's text early, cutting it.
        if (!converted || converted->find('\0') != std::string::npos) {
            ++counts.notRepresentable;
            return;
        }
        if (converted->size() > SignatureTextCapacity) {
            ++counts.tooLong;
            return;
        }
        const std::size_t at = records_.size();
        records_.resize(at + SignatureRecordSize, '\0');
        std::memcpy(records_.data() + at + 1, converted->data(), converted->size());
        ++counts.imported;
    }

    const std::vector<char>& Records() const noexcept { return records_; }

private:
    std::vector<char> records_;
};

void Append(const std::string& database, const std::vector<char>& records)
{
    RecordFile file;
    file.OpenOrCreate(database);
    const std::int64_t before = file.Count();
    file.Seek(before);
    try {
        file.WriteRecords(records);
    } catch (...) {
        try {
            file.Seek(before);
            file.Truncate();
        } catch (...) {
            // The first failure is the one to report; the file may keep part of the import.
        }
        throw;
    }
}

} // namespace

std::vector<FortuneFileImport> ImportFortuneFiles(const std::string& database, const std::vector<std::string>& files)
{
    std::vector<FortuneFileImport> imports;
    RecordCollector collector;
    for (const std::string& file : files) {
        const std::string bytes = settings::ReadWholeFile(file);
        const bool utf8 = IsUtf8(bytes);
        FortuneFileImport& counts = imports.emplace_back();
        counts.file = file;
        for (const std::string& text : FortuneTexts(bytes))
            collector.Add(text, utf8, counts);
    }
    Append(database, collector.Records());
    return imports;
}

} // namespace vqsig
