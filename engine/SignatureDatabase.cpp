#include "engine/SignatureDatabase.h"

#include "engine/WholeRecords.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// The picks close the database however they leave.
class CloseWhenDone {
public:
    explicit CloseWhenDone(RecordFile& file) : file_(file) {}
    ~CloseWhenDone() { file_.Close(); }
    CloseWhenDone(const CloseWhenDone&) = delete;
    CloseWhenDone& operator=(const CloseWhenDone&) = delete;

private:
    RecordFile& file_;
};

// The picks only read: a database the user may only read (a team's, on a file server) still
// gives signatures. A failure to open is told apart from a failure to read.
void OpenForPick(RecordFile& file, const std::string& path)
{
    try {
        file.OpenForReading(path);
    } catch (const IoFailure& failure) {
        throw DatabaseOpenFailure(failure);
    }
}

} // namespace

std::int64_t SignatureDatabase::OpenForEditing(const std::string& path)
{
    file_.OpenExisting(path);
    RefusePartialRecords(path);
    const std::int64_t records = file_.Count();
    if (records > 0)
        file_.Seek(0);
    return records;
}

void SignatureDatabase::CreateForEditing(const std::string& path)
{
    file_.Create(path);
    addingMode_ = true;
}

void SignatureDatabase::CloseEditing() noexcept
{
    file_.Close();
}

std::optional<SignatureDatabase::CursorMove> SignatureDatabase::MoveCursor(RecordStep step)
{
    const std::int64_t p = file_.Position();
    const std::int64_t n = file_.Count();
    if (n == 0)
        return std::nullopt;
    // Only the step taken tells where the cursor stands; of the other end nothing is known.
    CursorMove move;
    switch (step) {
    case RecordStep::First:
        file_.Seek(0);
        move.atFirst = true;
        break;
    case RecordStep::Last:
        file_.Seek(n - 1);
        move.atLast = true;
        break;
    case RecordStep::Next:
        move.moved = p < n - 1;
        if (move.moved)
            file_.Seek(p + 1);
        move.atLast = !move.moved || p + 1 == n - 1;
        break;
    case RecordStep::Previous:
        move.moved = p >= 1;
        if (move.moved)
            file_.Seek(p - 1);
        move.atFirst = !move.moved || p - 1 == 0;
        break;
    }
    return move;
}

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
        // The following records move down by one, block by block from the front, so every
        // byte is read before the write that covers it; then the last record's old place is
        // cut off. The file ends up as if they had all been held, cut at p and written back,
        // and a failure part way loses no record that followed.
        const std::int64_t following = n - p - 1;
        // Not zero-filled: every byte is read into before it is written out.
        const std::size_t holdingBytes =
            static_cast<std::size_t>(std::min(following, DeleteBlockRecords)) * SignatureRecordSize;
        const std::unique_ptr<char[]> holding(new char[holdingBytes]);
        for (std::int64_t moved = 0; moved < following;) {
            const std::int64_t records = std::min(following - moved, DeleteBlockRecords);
            const std::span<char> block(holding.get(), static_cast<std::size_t>(records) * SignatureRecordSize);
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
    return ChosenRecord(path, [&random](std::int64_t count) -> std::optional<std::int64_t> {
        if (count == 0)
            return std::nullopt;
        return static_cast<std::int64_t>(random.Below(static_cast<std::size_t>(count)));
    });
}

std::optional<std::string> SignatureDatabase::ChosenRecord(const std::string& path, const RecordChoice& choose)
{
    OpenForPick(file_, path);
    CloseWhenDone closing(file_);
    const std::optional<std::int64_t> chosen = choose(file_.Count());
    if (!chosen)
        return std::nullopt;
    file_.Seek(*chosen);
    file_.ReadRecord(buffer_);
    // No seek back onto the record: the handle closes now, and nobody sees its cursor.
    return BufferText();
}

void SignatureDatabase::VisitTexts(const std::string& path,
                                   const std::function<void(std::int64_t index, const std::string& text)>& visit)
{
    constexpr std::int64_t BlockRecords = 256;
    OpenForPick(file_, path);
    CloseWhenDone closing(file_);
    const std::int64_t count = file_.Count();
    std::vector<char> block;
    SignatureRecord record;
    for (std::int64_t first = 0; first < count; first += BlockRecords) {
        const std::int64_t records = std::min(BlockRecords, count - first);
        block.resize(static_cast<std::size_t>(records) * SignatureRecordSize);
        file_.ReadRecords(block);
        for (std::int64_t k = 0; k < records; ++k) {
            std::copy_n(block.begin() + static_cast<std::ptrdiff_t>(k * SignatureRecordSize), SignatureRecordSize,
                        record.begin());
            visit(first + k, TextOfRecord(record));
        }
    }
}
