#include "engine/FortuneImport.h"

#include "base/FileExists.h"
#include "base/IntegerText.h"
#include "engine/RecordFile.h"
#include "engine/SignatureRecord.h"
#include "base/WholeFile.h"
#include "base/CodePages.h"
#include "engine/DatabaseTexts.h"
#include "engine/FortuneFile.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>

namespace fortunes {

namespace {

// Appends records to the database a block at a time: one write per block, in memory no more
// than one block. Until Commit, the database is as it was before whenever the appender
// ends: cut back to its records, or removed when the import made it.
class RecordAppender {
public:
    // 128 KiB: few fresh pages to fault in and a block that stays in the processor's cache,
    // while a write per block still costs little next to the bytes it writes.
    static constexpr std::size_t BlockRecords = 256;

    // The block starts zero-filled, so a record needs clearing only where an earlier
    // record of the same place had text.
    explicit RecordAppender(const std::string& database)
        : database_(database), created_(!base::FileExists(database)),
          block_(new char[BlockRecords * SignatureRecordSize]()), lengths_(BlockRecords, 0)
    {
        OpenDatabase(file_, database, DatabaseAccess::ChangeOrCreate);
        before_ = file_.Count();
        file_.Seek(before_);
    }
    RecordAppender(const RecordAppender&) = delete;
    RecordAppender& operator=(const RecordAppender&) = delete;

    ~RecordAppender()
    {
        if (!committed_)
            Undo();
    }

    // Where the next record's text goes, SignatureTextCapacity bytes.
    char* NextText()
    {
        if (used_ == BlockRecords)
            Flush();
        return block_.get() + used_ * SignatureRecordSize + 1;
    }

    // Bytes of the next record's text place were written up to that far, whether or not
    // it becomes a record: what is past its text is cleared when it does.
    void Written(std::size_t extent) { lengths_[used_] = std::max(lengths_[used_], extent); }

    // Adds the next record, its text of that length in place; the rest of it is zero.
    void Keep(std::size_t length)
    {
        std::size_t& earlier = lengths_[used_];
        if (earlier > length)
            std::memset(block_.get() + used_ * SignatureRecordSize + 1 + length, 0, earlier - length);
        earlier = length;
        ++used_;
    }

    // The same for a text of at most 512 bytes, copied there.
    void Add(std::string_view text)
    {
        std::memcpy(NextText(), text.data(), text.size());
        Keep(text.size());
    }

    // Writes what is left and keeps everything written.
    void Commit()
    {
        Flush();
        file_.Close();
        committed_ = true;
    }

private:
    void Flush()
    {
        if (used_ == 0)
            return; // nothing to write: an untouched database keeps its bytes and its time
        file_.WriteRecords(std::span<const char>(block_.get(), used_ * SignatureRecordSize));
        used_ = 0;
        written_ = true;
    }

    void Undo() noexcept
    {
        try {
            if (created_) {
                file_.Close();
                // The import's own new file; if it cannot go, its records are still the
                // import's only, and the failure being reported says so.
                DeleteFileA(database_.c_str());
            } else if (written_) {
                file_.Seek(before_);
                file_.Truncate();
            }
        } catch (...) {
            // The failure that ended the import is the one to report.
        }
    }

    std::string database_;
    bool created_;
    RecordFile file_;
    std::int64_t before_ = 0;
    std::unique_ptr<char[]> block_;
    std::vector<std::size_t> lengths_; // how far each place of the block may hold other than zeros
    std::size_t used_ = 0;
    bool written_ = false; // a block went into the file
    bool committed_ = false;
};

// How a text that is not plain ASCII becomes a record text, by its file's encoding.
enum class FileKind {
    Utf8, // converted to the ANSI code page
    Ansi, // taken as it stands, but may hold a NUL
};

// Adds a text that is not plain ASCII to the database when it fits a record whole, else
// counts why not.
void Take(std::string_view text, FileKind kind, RecordAppender& database, FortuneFileImport& counts)
{
    std::optional<std::string> converted;
    // ASCII reads the same in both, and most fortunes are ASCII: no conversion for them.
    if (kind == FileKind::Utf8 && !base::IsAscii(text)) {
        converted = base::Utf8ToAnsi(text);
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
    if (text.size() > SignatureTextCapacity) {
        ++counts.tooLong;
        return;
    }
    database.Add(text);
    ++counts.imported;
}

// Adds the texts of one fortune file's bytes to the database. A text that is not plain is
// joined in text, storage used again from one to the next.
// Asks the progress this often, in texts: often enough to answer a cancel at once, rarely
// enough to cost nothing next to the texts.
constexpr std::size_t TextsBetweenProgress = 512;

// The file's part of the whole import: the progress from before it to after it.
struct ProgressSpan {
    const ImportProgress& progress;
    double from = 0;
    double width = 0;

    void Tell(double part) const
    {
        if (progress && !progress(from + width * part))
            throw ImportCancelled();
    }
};

void ImportFile(std::string_view bytes, const std::string& database, RecordAppender& appender,
                FortuneFileImport& counts, std::string& text, const ProgressSpan& span)
{
    // Whether the file is UTF-8 is asked only when it must be: most fortune files hold only
    // plain texts, and each text is looked at anyway as it is copied. Every byte before the
    // first text that is not plain is ASCII, which stands alone in UTF-8: only the bytes
    // from there on need the test.
    const std::string_view file = bytes;
    std::optional<FileKind> kind;
    const auto kindOfFile = [&](const char* from) {
        if (!kind) {
            const std::string_view rest = file.substr(static_cast<std::size_t>(from - file.data()));
            kind = base::IsUtf8(rest) ? FileKind::Utf8 : FileKind::Ansi;
        }
        return *kind;
    };
    // Windows editors start a UTF-8 file with a byte-order mark; it is no part of a text.
    constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
    if (bytes.starts_with(ByteOrderMark) && kindOfFile(file.data()) == FileKind::Utf8)
        bytes.remove_prefix(ByteOrderMark.size());
    FortuneReader reader(bytes, HoldsPercentLine(bytes) ? FortuneReader::Separator::PercentLines
                                                       : FortuneReader::Separator::BlankLines);
    const double size = static_cast<double>(std::max<std::size_t>(bytes.size(), 1));
    for (std::size_t texts = 1;; ++texts) {
        if (texts % TextsBetweenProgress == 0)
            span.Tell(1 - static_cast<double>(reader.Remaining()) / size);
        // Each text is copied straight into its record as it is found, and most are plain
        // ASCII, which reads the same in either code page: a record then.
        char* const place = OnFile(database, [&] { return appender.NextText(); });
        FortuneText found;
        const bool more = reader.Next(place, SignatureTextCapacity, found);
        appender.Written(found.written);
        if (!more)
            return;
        if (found.plain) {
            if (found.length <= SignatureTextCapacity) {
                appender.Keep(found.length);
                ++counts.imported;
            } else {
                ++counts.tooLong;
            }
            continue;
        }
        const FileKind textKind = kindOfFile(found.lines.data());
        JoinLines(found.lines, text);
        OnFile(database, [&] { Take(text, textKind, appender, counts); });
    }
}

} // namespace

std::vector<FortuneFileImport> ImportFortuneFiles(const std::string& database, const std::vector<std::string>& files,
                                                  const ImportProgress& progress)
{
    std::vector<FortuneFileImport> imports(files.size());
    std::optional<RecordAppender> appender;
    OnFile(database, [&] { appender.emplace(database); });
    std::string text;
    std::string contents; // one file's bytes at a time, in memory that is used again
    for (std::size_t i = 0; i < files.size(); ++i) {
        imports[i].file = files[i];
        // A file that cannot be read ends the import.
        const std::string_view bytes = base::ReadWholeFile(files[i], contents);
        // The database's own failures name it; what goes wrong with a text names its file.
        const double width = 1.0 / static_cast<double>(files.size());
        const ProgressSpan span{progress, width * static_cast<double>(i), width};
        OnFile(files[i], [&] { ImportFile(bytes, database, *appender, imports[i], text, span); });
        span.Tell(1);
    }
    // Without a text the database stays as it was: a new one is not left behind empty.
    if (ImportedAny(imports))
        OnFile(database, [&] { appender->Commit(); });
    return imports;
}

bool ImportedAny(const std::vector<FortuneFileImport>& imports)
{
    return std::any_of(imports.begin(), imports.end(), [](const FortuneFileImport& file) { return file.imported > 0; });
}

FortuneFileImport TotalOf(const std::vector<FortuneFileImport>& imports)
{
    FortuneFileImport total;
    for (const FortuneFileImport& file : imports) {
        total.imported += file.imported;
        total.tooLong += file.tooLong;
        total.notRepresentable += file.notRepresentable;
    }
    return total;
}

std::string SkippedReasons(const FortuneFileImport& counts)
{
    constexpr const char* NotRepresentable = "not representable in the ANSI code page";
    if (counts.notRepresentable == 0)
        return "too long";
    if (counts.tooLong == 0)
        return NotRepresentable;
    return std::to_string(counts.tooLong) + " too long, " + std::to_string(counts.notRepresentable) + " " +
           NotRepresentable;
}

std::string NothingImportedFrom(const std::string& from, const FortuneFileImport& total)
{
    const std::string start = "Nothing was imported from " + from + ": ";
    const std::size_t skipped = total.tooLong + total.notRepresentable;
    if (skipped == 0)
        return start + "no texts were found.";
    return start + base::CountedText(skipped, "text was", "texts were") + " skipped (" + SkippedReasons(total) + ").";
}

} // namespace fortunes
