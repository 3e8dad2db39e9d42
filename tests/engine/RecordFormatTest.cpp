#include "engine/SignatureRecord.h"

#include "EngineTestFiles.h"
#include "base/TextLines.h"

#include <gtest/gtest.h>

TEST(RecordFormat, TextRunsFromByteOneToTheFirstNul)
{
    SignatureRecord record = MakeRecord('X', "Hello\r\nWorld", 'r');
    EXPECT_EQ(TextOfRecord(record), "Hello\r\nWorld");
    record[0] = '\0'; // byte 0 is never text, NUL or not
    EXPECT_EQ(TextOfRecord(record), "Hello\r\nWorld");
}

TEST(RecordFormat, WithoutNulTheTextIsAll512Characters)
{
    SignatureRecord record;
    record.fill('z');
    record[0] = 'B';
    EXPECT_EQ(TextOfRecord(record), std::string(512, 'z'));
}

TEST(RecordFormat, FillingExactly512CharactersLeavesNoNul)
{
    SignatureRecord record;
    record.fill('\x55');
    FillRecord(record, {std::string(512, 'a')});
    EXPECT_EQ(record[0], '\x55');
    EXPECT_EQ(std::string(record.begin() + 1, record.end()), std::string(512, 'a'));
    EXPECT_EQ(TextOfRecord(record), std::string(512, 'a'));
}

TEST(RecordFormat, LongerTextIsCutAtTheRecordEnd)
{
    SignatureRecord record{};
    FillRecord(record, {std::string(300, 'a'), std::string(300, 'b')});
    EXPECT_EQ(TextOfRecord(record), std::string(300, 'a') + "\r\n" + std::string(210, 'b'));
}

TEST(RecordFormat, ShorterTextKeepsByteZeroAndTheRemnantsAfterItsNul)
{
    SignatureRecord record = MakeRecord('\x7f', "A much longer signature text", 'r');
    const SignatureRecord before = record;
    FillRecord(record, {"Short"});
    EXPECT_EQ(TextOfRecord(record), "Short");
    EXPECT_EQ(record[0], '\x7f');
    EXPECT_EQ(record[6], '\0');
    EXPECT_TRUE(std::equal(record.begin() + 7, record.end(), before.begin() + 7));
    EXPECT_EQ(std::string(record.begin() + 7, record.begin() + 31), std::string(" longer signature text\0r", 24));
}

TEST(RecordFormat, LinesAreJoinedWithCrLfAndNoBreakAfterTheLast)
{
    struct Case {
        std::vector<std::string> lines;
        std::string text;
    };
    const Case cases[] = {
        {{}, ""},
        {{""}, ""},
        {{"one"}, "one"},
        {{"one", "two"}, "one\r\ntwo"},
        {{"one", "", "three"}, "one\r\n\r\nthree"},
        {{"", ""}, "\r\n"},
    };
    for (const auto& c : cases) {
        SignatureRecord record;
        record.fill('q');
        FillRecord(record, c.lines);
        EXPECT_EQ(TextOfRecord(record), c.text);
        EXPECT_EQ(record[1 + c.text.size()], '\0');
    }
}

TEST(RecordFormat, FieldTextSplitsIntoLinesWithoutTheFinalEmptyOne)
{
    struct Case {
        std::string text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", {}},
        {"one", {"one"}},
        {"one\r\n", {"one"}},
        {"one\r\n\r\n", {"one", ""}},
        {"\r\n", {""}},
        {"one\r\ntwo", {"one", "two"}},
        {"one\ntwo\rthree", {"one", "two", "three"}},
        {"one\r\rtwo", {"one", "", "two"}},
        {"\xe9t\xe9\r\n\xfc", {"\xe9t\xe9", "\xfc"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(base::SplitLines(c.text), c.lines) << c.text;
}
