#include "engine/IoFailure.h"
#include "engine/RecordFile.h"

#include "EngineTestFiles.h"
#include "base/Handles.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// Runs the operation and returns the code of the IoFailure it must raise.
int FailureCode(const std::function<void()>& operation, std::string* message = nullptr)
{
    try {
        operation();
    } catch (const IoFailure& failure) {
        if (message)
            *message = failure.what();
        return failure.Code();
    }
    ADD_FAILURE() << "no IoFailure";
    return 0;
}

class RecordFileTest : public ::testing::Test {
protected:
    TempDir dir;
    RecordFile file;
};

} // namespace

TEST(IoFailureMessages, ChosenByTheCode)
{
    const std::pair<int, const char*> cases[] = {
        {2, "File not found"},      {3, "Invalid filename"}, {4, "Too many open files"},
        {5, "File access denied"},  {100, "Read beyond end of file"}, {101, "Disk full"},
        {106, "Invalid numeric input"}, {32, "I/O error 32"}, {103, "I/O error 103"},
        {131, "I/O error 131"}, {0, "I/O error 0"}, {1392, "I/O error 1392"},
    };
    for (const auto& [code, message] : cases) {
        const IoFailure failure(code);
        EXPECT_EQ(failure.Code(), code);
        EXPECT_STREQ(failure.what(), message);
    }
}

TEST_F(RecordFileTest, CountsWholeRecordsAndIgnoresAPartialTail)
{
    const auto records = NumberedRecords(3);
    WriteBytes(dir.File("a.sigs"), DatabaseBytes(records) + std::string(512, 'x'));
    file.OpenExisting(dir.File("a.sigs"));
    EXPECT_EQ(file.Count(), 3);
    EXPECT_EQ(file.Position(), 0);
    file.Seek(3);
    EXPECT_TRUE(file.AtEnd());
    SignatureRecord record{};
    EXPECT_EQ(FailureCode([&] { file.ReadRecord(record); }), IoCode::ShortRead);
    // The short read leaves what it read in the buffer.
    EXPECT_EQ(std::string(record.begin(), record.begin() + 512), std::string(512, 'x'));
    EXPECT_EQ(file.Position(), 3);
    file.Close();
    EXPECT_EQ(ReadBytes(dir.File("a.sigs")).size(), 3 * 513 + 512u);
}

TEST_F(RecordFileTest, ReadsWritesAndAdvancesRecordByRecord)
{
    const auto records = NumberedRecords(4);
    WriteBytes(dir.File("a.sigs"), DatabaseBytes(records));
    file.OpenExisting(dir.File("a.sigs"));
    SignatureRecord record{};
    file.Seek(2);
    file.ReadRecord(record);
    EXPECT_EQ(record, records[2]);
    EXPECT_EQ(file.Position(), 3);
    EXPECT_FALSE(file.AtEnd());
    file.ReadRecord(record);
    EXPECT_TRUE(file.AtEnd());
    file.Seek(1);
    file.WriteRecord(records[0]);
    EXPECT_EQ(file.Position(), 2);
    file.Seek(4);
    file.WriteRecord(records[3]); // at the end: appends
    EXPECT_EQ(file.Count(), 5);
    file.Seek(2);
    file.Truncate();
    EXPECT_EQ(file.Count(), 2);
    file.Close();
    EXPECT_EQ(ReadBytes(dir.File("a.sigs")), DatabaseBytes({records[0], records[0]}));
}

TEST_F(RecordFileTest, SeekBeyondTheEndIsAllowedNegativeFailsWith131)
{
    WriteBytes(dir.File("a.sigs"), DatabaseBytes(NumberedRecords(2)));
    file.OpenExisting(dir.File("a.sigs"));
    file.Seek(10);
    EXPECT_EQ(file.Position(), 10);
    EXPECT_EQ(file.Count(), 2);
    EXPECT_EQ(FailureCode([&] { file.Seek(-1); }), IoCode::NegativeSeek);
    file.Close();
    EXPECT_EQ(ReadBytes(dir.File("a.sigs")).size(), 2 * 513u);
}

TEST_F(RecordFileTest, CreateEmptiesAnExistingFile)
{
    WriteBytes(dir.File("a.sigs"), DatabaseBytes(NumberedRecords(2)));
    file.Create(dir.File("a.sigs"));
    EXPECT_EQ(file.Count(), 0);
    EXPECT_TRUE(file.AtEnd());
    file.Create(dir.File("new.sigs"));
    EXPECT_EQ(file.Count(), 0);
    file.Close();
    EXPECT_EQ(ReadBytes(dir.File("a.sigs")), "");
    EXPECT_TRUE(FileExists(dir.File("new.sigs")));
}

TEST_F(RecordFileTest, OperationsOnAClosedFileFailWith103)
{
    SignatureRecord record{};
    const std::function<void()> operations[] = {
        [&] { file.Count(); },  [&] { file.Position(); },        [&] { file.Seek(0); },
        [&] { file.AtEnd(); },  [&] { file.ReadRecord(record); }, [&] { file.WriteRecord(record); },
        [&] { file.Truncate(); },
    };
    for (const auto& operation : operations)
        EXPECT_EQ(FailureCode(operation), IoCode::NotOpen);
    file.Close(); // closing twice is harmless
    EXPECT_FALSE(file.IsOpen());
}

TEST_F(RecordFileTest, BadPathsFailWithTheirMessages)
{
    WriteBytes(dir.File("readonly.sigs"), DatabaseBytes(NumberedRecords(1)));
    ASSERT_TRUE(SetFileAttributesA(dir.File("readonly.sigs").c_str(), FILE_ATTRIBUTE_READONLY));
    CreateDirectoryA(dir.File("folder.sigs").c_str(), nullptr);
    const std::string base = dir.File("");
    const std::string tooLong = base + std::string(260 - base.size(), 'n');

    struct Case {
        const char* what;
        std::function<void()> operation;
        int code;
        const char* message;
    };
    const Case cases[] = {
        {"missing file", [&] { file.OpenExisting(dir.File("missing.sigs")); }, 2, "File not found"},
        {"read-only open", [&] { file.OpenExisting(dir.File("readonly.sigs")); }, 5, "File access denied"},
        {"read-only create", [&] { file.Create(dir.File("readonly.sigs")); }, 5, "File access denied"},
        {"directory open", [&] { file.OpenExisting(dir.File("folder.sigs")); }, 5, "File access denied"},
        {"directory create", [&] { file.Create(dir.File("folder.sigs")); }, 5, "File access denied"},
        {"260 characters open", [&] { file.OpenExisting(tooLong); }, 3, "Invalid filename"},
        {"260 characters create", [&] { file.Create(tooLong); }, 3, "Invalid filename"},
        {"NUL inside", [&] { file.Create(dir.File(std::string("a\0b.sigs", 8))); }, 3, "Invalid filename"},
        {"missing folder", [&] { file.Create(dir.File("no\\such.sigs")); }, 3, "Invalid filename"},
    };
    for (const auto& c : cases) {
        std::string message;
        EXPECT_EQ(FailureCode(c.operation, &message), c.code) << c.what;
        EXPECT_EQ(message, c.message) << c.what;
        EXPECT_FALSE(file.IsOpen()) << c.what;
    }
    EXPECT_EQ(tooLong.size(), 260u);
    EXPECT_FALSE(FileExists(tooLong));
    EXPECT_FALSE(FileExists(dir.File("a")));
    EXPECT_EQ(ReadBytes(dir.File("readonly.sigs")), DatabaseBytes(NumberedRecords(1)));
}

TEST_F(RecordFileTest, AFileHeldWithoutSharingFailsWith32)
{
    const std::string path = dir.File("held.sigs");
    WriteBytes(path, DatabaseBytes(NumberedRecords(1)));
    {
        const base::FileHandle holder(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder);
        std::string message;
        EXPECT_EQ(FailureCode([&] { file.OpenExisting(path); }, &message), 32);
        EXPECT_EQ(message, "I/O error 32");
    }
    file.OpenExisting(path);
    EXPECT_EQ(file.Count(), 1);
}

TEST_F(RecordFileTest, OpenSharesReadingAndWritingWithOtherPrograms)
{
    const std::string path = dir.File("shared.sigs");
    WriteBytes(path, DatabaseBytes(NumberedRecords(1)));
    file.OpenExisting(path);
    const base::FileHandle other(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(other);
}

TEST_F(RecordFileTest, AnsiPathAbove127WorksLikeAnyOther)
{
    const std::string name = "Gr\xfc\xdf\xe9.sigs";
    const auto records = NumberedRecords(2);
    file.Create(dir.File(name));
    file.WriteRecord(records[0]);
    file.WriteRecord(records[1]);
    file.Close();
    file.OpenExisting(dir.File(name));
    EXPECT_EQ(file.Count(), 2);
    file.Close();

    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA(dir.File("Gr*").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    FindClose(search);
    EXPECT_EQ(std::string(found.cFileName), name);
    EXPECT_EQ(ReadBytes(dir.File(name)), DatabaseBytes(records));
}

TEST_F(RecordFileTest, RandomBytesReadAsRecords)
{
    std::string bytes(5 * 513 + 100, '\0');
    unsigned state = 12345;
    for (auto& b : bytes) {
        state = state * 1103515245u + 12345u;
        b = static_cast<char>(state >> 16);
    }
    WriteBytes(dir.File("noise.sigs"), bytes);
    file.OpenExisting(dir.File("noise.sigs"));
    ASSERT_EQ(file.Count(), 5);
    SignatureRecord record{};
    for (int k = 0; k < 5; ++k) {
        file.ReadRecord(record);
        const std::string stored = bytes.substr(k * 513 + 1, 512);
        EXPECT_EQ(TextOfRecord(record), stored.substr(0, stored.find('\0')));
    }
    EXPECT_TRUE(file.AtEnd());
    file.Close();
    EXPECT_EQ(ReadBytes(dir.File("noise.sigs")), bytes);
}
