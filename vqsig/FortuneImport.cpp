#include "vqsig/FortuneImport.h"

#include "base/FileExists.h"
#include "engine/RecordFile.h"
#include "engine/SignatureRecord.h"
#include "settings/WholeFile.h"
#include "base/CodePages.h"
#include "vqsig/DatabaseTexts.h"
#include "vqsig/FortuneFile.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>

namespace vqsig {

namespace {

// Appends records to the database a block at a time: a few large writes, in memory no more
// than one block. Until Commit, the database is as it was before whenever the appender
// ends: cut back to its records, or removed when the import made it.
class RecordAppender {
public:
    static constexpr std::size_t BlockRecords = 2048; // 1 MiB

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

    // The text is at most 512 bytes; the rest of its record is zero.
    void Add(std::string_view text)
    {
        std::memcpy(NextText(), text.data(), text.size());
        Keep(text.size());
    }

    // The same for the text of a plain file's lines, joined straight into the record;
    // answers false, adding nothing, when the text does not fit.
    bool AddJoined(std::string_view lines)
    {
        const std::size_t length = JoinLines(lines, NextText(), SignatureTextCapacity);
        if (length <= SignatureTextCapacity) {
            Keep(length);
            return true;
        }
        // Part of it is in the record now, which the next one must clear.
        lengths_[used_] = SignatureTextCapacity;
        return false;
    }

    // Writes what is left and keeps everything written.
    void Commit()
    {
        Flush();
        file_.Close();
        committed_ = true;
    }

private:
    // Where the next record's text goes.
    char* NextText()
    {
        if (used_ == BlockRecords)
            Flush();
        return block_.get() + used_ * SignatureRecordSize + 1;
    }

    // Ends the next record after a text of that length.
    void Keep(std::size_t length)
    {
        std::size_t& earlier = lengths_[used_];
        if (earlier > length)
            std::memset(block_.get() + used_ * SignatureRecordSize + 1 + length, 0, earlier - length);
        earlier = length;
        ++used_;
    }

    void Flush()
    {
        file_.WriteRecords(std::span<const char>(block_.get(), used_ * SignatureRecordSize));
        used_ = 0;
    }

    void Undo() noexcept
    {
        try {
            if (created_) {
                file_.Close();
                // The import's own new file; if it cannot go, its records are still the
                // import's only, and the failure being reported says so.
                DeleteFileA(database_.c_str());
            } else {
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
    std::vector<std::size_t> lengths_; // of the text each place of the block last held
    std::size_t used_ = 0;
    bool committed_ = false;
};

// How the texts of a file that is not all plain ASCII become record texts.
enum class FileKind {
    Utf8, // converted to the ANSI code page
    Ansi, // taken as they stand, but may hold a NUL
};

// Whether every byte is ASCII other than NUL, eight bytes at a time: such a text is its
// record text as it stands.
bool IsPlain(std::string_view bytes)
{
    constexpr std::uint64_t ones = 0x0101010101010101u;
    constexpr std::uint64_t highs = 0x8080808080808080u;
    std::size_t i = 0;
    for (std::uint64_t word; i + sizeof word <= bytes.size(); i += sizeof word) {
        std::memcpy(&word, bytes.data() + i, sizeof word);
        // A byte of 0x80 or above sets its high bit; a zero byte, once the high bits are
        // known clear, is the only one the subtraction makes set its own.
        if ((word | ((word - ones) & ~word)) & highs)
            return false;
    }
    return std::all_of(bytes.begin() + i, bytes.end(),
                       [](char c) { return c != '\0' && static_cast<unsigned char>(c) < 0x80; });
}

// Adds a text of a file that is not all ASCII to the database when it fits a record whole,
// else counts why not.
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

} // namespace

std::vector<FortuneFileImport> ImportFortuneFiles(const std::string& database, const std::vector<std::string>& files)
{
    std::vector<FortuneFileImport> imports(files.size());
    std::optional<RecordAppender> appender;
    OnFile(database, [&] { appender.emplace(database); });
    std::string text;
    std::string contents; // one file's bytes at a time, in memory that is used again
    for (std::size_t i = 0; i < files.size(); ++i) {
        imports[i].file = files[i];
        // A file that cannot be read ends the import.
        std::string_view bytes = settings::ReadWholeFile(files[i], contents);
        // The database's own failures name it; what goes wrong with a text names its file.
        OnFile(files[i], [&] {
            // Whether the file is UTF-8 is asked only when it must be: most fortune files
            // hold only plain texts, and each text is looked at anyway as it is copied.
            const std::string_view file = bytes;
            std::optional<FileKind> kind;
            const auto kindOfFile = [&] {
                if (!kind)
                    kind = base::IsUtf8(file) ? FileKind::Utf8 : FileKind::Ansi;
                return *kind;
            };
            // Windows editors start a UTF-8 file with a byte-order mark; it is no part of a text.
            constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
            if (bytes.starts_with(ByteOrderMark) && kindOfFile() == FileKind::Utf8)
                bytes.remove_prefix(ByteOrderMark.size());
            FortuneReader reader(bytes);
            for (std::string_view lines; reader.NextLines(lines);) {
                // Most texts go from the file into their record in one copy: they read the
                // same in either code page.
                const bool plain = IsPlain(lines);
                if (!plain)
                    kindOfFile();
                OnFile(database, [&] {
                    if (plain) {
                        ++(appender->AddJoined(lines) ? imports[i].imported : imports[i].tooLong);
                    } else {
                        // A CR LF takes at most two bytes for each LF.
                        text.resize(2 * lines.size());
                        text.resize(JoinLines(lines, text.data(), text.size()));
                        Take(text, *kind, *appender, imports[i]);
                    }
                });
            }
        });
    }
    OnFile(database, [&] { appender->Commit(); });
    return imports;
}

} // namespace vqsig
