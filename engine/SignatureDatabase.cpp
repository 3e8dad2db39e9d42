#include "engine/SignatureDatabase.h"

#include <algorithm>
#include <vector>

namespace {

// Deleting moves the following records down through a holding area of at most this many
// records: one read and one write for any database up to about 130,000 records, and a few
// of each beyond, instead of one call per record.
constexpr std::int64_t HoldingRecords = (64 << 20) / static_cast<std::int64_t>(SignatureRecordSize);

// The random pick closes the database however it leaves.
class CloseWhenDone {
public:
    explicit CloseWhenDone(RecordFile& file) : file_(file) {}
    ~CloseWhenDone() { file_.Close(); }
    CloseWhenDone(const CloseWhenDone&) = delete;
    CloseWhenDone& operator=(const CloseWhenDone&) = delete;

private:
    RecordFile& file_;
};

} // namespace

std::string SignatureDatabase::ShowCurrent()
{
    file_.ReadRecord(buffer_);
    std::string text = BufferText();
    file_.Seek(file_.Position() - 1);
    return text;
}

void SignatureDatabase::Post(const std::vector<std::string>& lines)
{
    std::int64_t p = file_.Position();
    FillBuffer(lines);
    if (addingMode_) {
        p = file_.Count();
        file_.Seek(p);
    }
    file_.WriteRecord(buffer_);
    if (file_.Count() > 0) {
        file_.Seek(p);
        addingMode_ = false;
    }
}

std::optional<std::string> SignatureDatabase::DeleteCurrent()
{
    std::int64_t p = file_.Position();
    const std::int64_t n = file_.Count();
    if (p < n - 1) {
        // The following records move down by one, front to back, so every byte is read
        // before the write that covers it; then the last record's old place is cut off.
        // The file ends up as if they had been held, cut at p and written back.
        const std::int64_t following = n - p - 1;
        std::vector<char> holding(
            static_cast<std::size_t>(std::min(following, HoldingRecords)) * SignatureRecordSize);
        for (std::int64_t moved = 0; moved < following;) {
            const std::int64_t records = std::min(following - moved, HoldingRecords);
            const std::span<char> block(holding.data(), static_cast<std::size_t>(records) * SignatureRecordSize);
            file_.Seek(p + 1 + moved);
            file_.ReadRecords(block);
            file_.Seek(p + moved);
            file_.WriteRecords(block);
            moved += records;
        }
        file_.Seek(n - 1);
        file_.Truncate();
    } else if (p < n) {
        file_.Seek(p);
        file_.Truncate();
        p = p - 1;
    } else {
        // No record under the cursor: cutting here would lengthen the file, so nothing is
        // deleted and the last record is shown.
        p = n - 1;
    }
    if (file_.Count() == 0)
        return std::nullopt;
    file_.Seek(p);
    return ShowCurrent();
}

std::optional<std::string> SignatureDatabase::RandomRecord(const std::string& path, RandomIndexSource& random)
{
    try {
        file_.OpenExisting(path);
    } catch (const IoFailure& failure) {
        throw DatabaseOpenFailure(failure);
    }
    CloseWhenDone closing(file_);
    const std::int64_t count = file_.Count();
    if (count == 0)
        return std::nullopt;
    file_.Seek(static_cast<std::int64_t>(random.Below(static_cast<std::size_t>(count))));
    file_.ReadRecord(buffer_);
    std::string text = BufferText();
    file_.Seek(file_.Position() - 1);
    return text;
}

SignatureDatabase& ProgramDatabase()
{
    static SignatureDatabase database;
    return database;
}
