#include "vqsig/FortuneImport.h"

#include "engine/RecordFile.h"
#include "engine/SignatureRecord.h"
#include "settings/WholeFile.h"
#include "vqsig/CodePages.h"
#include "vqsig/FortuneFile.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>

namespace vqsig {

namespace {

// Appends records to the database a block at a time: a few large writes, in memory no more
// than one block. If a write fails, the database is cut back to the records it had.
class RecordAppender {
public:
    static constexpr std::size_t BlockRecords = 4096; // 2 MiB

    explicit RecordAppender(const std::string& database) : block_(new char[BlockRecords * SignatureRecordSize])
    {
        file_.OpenOrCreate(database);
        before_ = file_.Count();
        file_.Seek(before_);
    }
    RecordAppender(const RecordAppender&) = delete;
    RecordAppender& operator=(const RecordAppender&) = delete;

    // The text is at most 512 bytes; the rest of its record is zero.
    void Add(std::string_view text)
    {
        if (used_ == BlockRecords)
            Flush();
        char* record = block_.get() + used_ * SignatureRecordSize;
        record[0] = '\0';
        std::memcpy(record + 1, text.data(), text.size());
        std::memset(record + 1 + text.size(), 0, SignatureTextCapacity - text.size());
        ++used_;
    }

    void Flush()
    {
        try {
            file_.WriteRecords(std::span<const char>(block_.get(), used_ * SignatureRecordSize));
            used_ = 0;
        } catch (...) {
            try {
                file_.Seek(before_);
                file_.Truncate();
            } catch (...) {
                // The write's failure is the one to report; part of the import may stay.
            }
            throw;
        }
    }

private:
    RecordFile file_;
    std::int64_t before_ = 0;
    std::unique_ptr<char[]> block_;
    std::size_t used_ = 0;
};

// How a file's texts become record texts.
enum class FileKind {
    Plain,   // ASCII without NUL: every text is its record text as it stands
    Utf8,    // converted to the ANSI code page
    Ansi,    // taken as it stands, but may hold a NUL
};

FileKind KindOf(std::string_view bytes)
{
    if (IsAscii(bytes) && bytes.find('\0') == std::string_view::npos)
        return FileKind::Plain;
    return IsUtf8(bytes) ? FileKind::Utf8 : FileKind::Ansi;
}

// Adds the text to the database when it fits a record whole, else counts why not.
void Take(std::string_view text, FileKind kind, RecordAppender& database, FortuneFileImport& counts)
{
    std::optional<std::string> converted;
    if (kind != FileKind::Plain) {
        // ASCII reads the same in both, and most fortunes are ASCII: no conversion for them.
        if (kind == FileKind::Utf8 && !IsAscii(text)) {
            converted = Utf8ToAnsi(text);
            if (!converted) {
                ++counts.notRepresentable;
                return;
            }
            text = *converted;
        }
        // A NUL would end the record's text early, cutting it.
        if (text.find('\0') != std::string_view::npos) {
            ++counts.notRepresentable;
            return;
        }
    }
    if (text.size() > SignatureTextCapacity) {
        ++counts.tooLong;
        return;
    }
    database.Add(text);
    ++counts.imported;
}

} // namespace

std::vector<FortuneFileImport> ImportFortuneFiles(const std::string& database, const std::vector<std::string>& files)
{
    std::vector<std::string> contents;
    contents.reserve(files.size());
    for (const std::string& file : files)
        contents.push_back(settings::ReadWholeFile(file));

    std::vector<FortuneFileImport> imports(files.size());
    RecordAppender appender(database);
    std::string text;
    for (std::size_t i = 0; i < files.size(); ++i) {
        imports[i].file = files[i];
        std::string_view bytes = contents[i];
        const FileKind kind = KindOf(bytes);
        // Windows editors start a UTF-8 file with a byte-order mark; it is no part of a text.
        constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
        if (kind == FileKind::Utf8 && bytes.starts_with(ByteOrderMark))
            bytes.remove_prefix(ByteOrderMark.size());
        for (FortuneReader reader(bytes); reader.Next(text);)
            Take(text, kind, appender, imports[i]);
    }
    appender.Flush();
    return imports;
}

} // namespace vqsig
