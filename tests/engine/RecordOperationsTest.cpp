#include "engine/IoFailure.h"
#include "engine/SignatureDatabase.h"

#include "EngineTestFiles.h"
#include "FixedRandom.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class RecordOperationsTest : public ::testing::Test {
protected:
    std::string Path() const { return dir.File("db.sigs"); }
    void Store(const std::vector<SignatureRecord>& records) { WriteBytes(Path(), DatabaseBytes(records)); }
    // What deleting record p leaves: the records without p, and never a partial tail.
    static std::string WithoutRecord(const std::string& bytes, std::size_t p)
    {
        const std::size_t whole = bytes.size() / 513 * 513;
        return bytes.substr(0, p * 513) + bytes.substr((p + 1) * 513, whole - (p + 1) * 513);
    }

    TempDir dir;
    SignatureDatabase db;
};

} // namespace

TEST(SignatureDatabaseState, StartsWithAZeroBufferBothFlagsOffAndNoFileOpen)
{
    const SignatureDatabase database;
    EXPECT_EQ(database.Buffer(), SignatureRecord{});
    EXPECT_FALSE(database.DatabaseOpen());
    EXPECT_FALSE(database.AddingMode());
    EXPECT_FALSE(database.File().IsOpen());
}

TEST_F(RecordOperationsTest, PostingTwiceAfterNewAppendsOnceThenOverwrites)
{
    db.File().Create(Path());
    db.SetAddingMode(true);
    db.Post({"first", "second line"});
    EXPECT_FALSE(db.AddingMode());
    EXPECT_EQ(db.File().Position(), 0);
    db.Post({"first"});
    EXPECT_EQ(db.File().Count(), 1);
    EXPECT_EQ(db.File().Position(), 0);

    // New on a database with records: append once, then stay on the new record.
    db.SetAddingMode(true);
    db.Post({"appended"});
    db.Post({"appended again"});
    EXPECT_EQ(db.File().Position(), 1);
    EXPECT_EQ(db.ShowCurrent(), "appended again");
    db.File().Close();

    // Byte 0 comes from the zero-filled buffer; the shorter post leaves the longer one's tail.
    const std::string bytes = ReadBytes(Path());
    ASSERT_EQ(bytes.size(), 2 * 513u);
    EXPECT_EQ(bytes.substr(0, 21), std::string("\0first\0\nsecond line\0", 21));
    EXPECT_EQ(bytes.substr(513, 21), std::string("\0appended again\0ine\0", 21));
}

TEST_F(RecordOperationsTest, PostOverwritesTheRecordAtTheCursorKeepingRemnants)
{
    auto records = NumberedRecords(3);
    records[1] = MakeRecord('\x11', "A rather long signature", 'r');
    Store(records);
    db.File().OpenExisting(Path());
    db.File().Seek(1);
    EXPECT_EQ(db.ShowCurrent(), "A rather long signature");
    db.Post({"Short"});
    EXPECT_EQ(db.File().Position(), 1);
    EXPECT_EQ(db.ShowCurrent(), "Short");
    db.File().Close();

    SignatureRecord expected = records[1];
    std::copy_n("Short", 6, expected.begin() + 1);
    records[1] = expected;
    EXPECT_EQ(ReadBytes(Path()), DatabaseBytes(records));
}

TEST_F(RecordOperationsTest, ShowCurrentKeepsTheCursorAndChangesNoByte)
{
    const auto records = NumberedRecords(5);
    Store(records);
    db.File().OpenExisting(Path());
    for (std::int64_t k : {0, 4, 2, 2, 3, 0}) {
        db.File().Seek(k);
        EXPECT_EQ(db.ShowCurrent(), TextOfRecord(records[k]));
        EXPECT_EQ(db.File().Position(), k);
        EXPECT_EQ(db.Buffer(), records[k]);
    }
    db.File().Seek(5);
    try {
        db.ShowCurrent();
        ADD_FAILURE() << "read past the end";
    } catch (const IoFailure& failure) {
        EXPECT_EQ(failure.Code(), IoCode::ShortRead);
    }
    db.File().Close();
    EXPECT_EQ(ReadBytes(Path()), DatabaseBytes(records));
}

TEST_F(RecordOperationsTest, DeletingShowsTheFollowingRecordOrTheNewLast)
{
    struct Case {
        int count, deleted;
        std::optional<int> shown; // index before the delete of the record shown after it
        std::vector<int> left;
    };
    const Case cases[] = {
        {1, 0, std::nullopt, {}},   // the only record: an empty file, nothing to show
        {3, 2, 1, {0, 1}},          // the last: the new last is shown
        {4, 1, 2, {0, 2, 3}},       // a middle one: its follower, now at the same index
        {4, 0, 1, {1, 2, 3}},
    };
    const auto records = NumberedRecords(4);
    for (const auto& c : cases) {
        Store({records.begin(), records.begin() + c.count});
        db.File().OpenExisting(Path());
        db.File().Seek(c.deleted);
        const auto shown = db.DeleteCurrent();
        if (c.shown) {
            EXPECT_EQ(shown, TextOfRecord(records[*c.shown]));
            EXPECT_EQ(db.File().Position(), std::min(c.deleted, c.count - 2));
            EXPECT_EQ(db.Buffer(), records[*c.shown]);
        } else {
            EXPECT_EQ(shown, std::nullopt);
        }
        db.File().Close();
        std::vector<SignatureRecord> left;
        for (int k : c.left)
            left.push_back(records[k]);
        EXPECT_EQ(ReadBytes(Path()), DatabaseBytes(left)) << c.count << " " << c.deleted;
    }
}

TEST_F(RecordOperationsTest, DeletingWithMoreThan1000FollowingMovesThemAll)
{
    const auto records = NumberedRecords(1500);
    const std::string bytes = DatabaseBytes(records) + "partial";
    WriteBytes(Path(), bytes);
    db.File().OpenExisting(Path());
    db.File().Seek(10);
    EXPECT_EQ(db.DeleteCurrent(), TextOfRecord(records[11]));
    EXPECT_EQ(db.File().Position(), 10);
    db.File().Close();
    EXPECT_EQ(ReadBytes(Path()), WithoutRecord(bytes, 10));
}

TEST_F(RecordOperationsTest, DeletingNearTheStartOfAHugeDatabaseMovesTheTailInSeveralBlocks)
{
    // More records follow than two blocks of the holding area take.
    const int count = static_cast<int>(2 * SignatureDatabase::DeleteBlockRecords + 700);
    std::string bytes(static_cast<std::size_t>(count) * 513, '\0');
    for (int k = 0; k < count; ++k) {
        const std::string text = "Record " + std::to_string(k);
        bytes[k * 513] = static_cast<char>(k);
        bytes.replace(k * 513 + 1, text.size(), text);
        bytes[k * 513 + 512] = static_cast<char>(k >> 8);
    }
    WriteBytes(Path(), bytes);
    db.File().OpenExisting(Path());
    db.File().Seek(3);
    EXPECT_EQ(db.DeleteCurrent(), "Record 4");
    db.File().Close();
    const std::string after = ReadBytes(Path());
    ASSERT_EQ(after.size(), bytes.size() - 513);
    EXPECT_TRUE(after == WithoutRecord(bytes, 3));
}

TEST_F(RecordOperationsTest, DeletingWithTheCursorPastTheEndNeverLengthensTheFile)
{
    const auto records = NumberedRecords(2);
    Store(records);
    db.File().OpenExisting(Path());
    db.File().Seek(5);
    EXPECT_EQ(db.DeleteCurrent(), TextOfRecord(records[1]));
    EXPECT_EQ(db.File().Position(), 1);
    db.File().Close();
    EXPECT_EQ(ReadBytes(Path()), DatabaseBytes(records));
}

TEST_F(RecordOperationsTest, RandomRecordReadsThePickAndClosesTheDatabase)
{
    const auto records = NumberedRecords(6);
    Store(records);
    FixedRandom random({4});
    EXPECT_EQ(db.RandomRecord(Path(), random), TextOfRecord(records[4]));
    EXPECT_EQ(random.asked, std::vector<std::size_t>{6});
    EXPECT_EQ(db.Buffer(), records[4]);
    EXPECT_FALSE(db.File().IsOpen());
    EXPECT_EQ(ReadBytes(Path()), DatabaseBytes(records));
}
