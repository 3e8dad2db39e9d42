// The fortune file reader that imports go through: each text found, joined and copied into a
// record's place in the same pass, whatever its lines' lengths are next to the pass's steps,
// wherever the file ends and however little room the place has.
#include "engine/FortuneFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using fortunes::FortuneReader;
using fortunes::FortuneText;

// A line of n bytes whose bytes differ from their neighbours', so a byte copied to the
// wrong place shows.
std::string Line(std::size_t n, char first = 'a')
{
    std::string line;
    for (std::size_t i = 0; i < n; ++i)
        line += static_cast<char>(first + i % 26);
    return line;
}

bool HoldsNulOrHighByte(const std::string& text)
{
    for (const char c : text) {
        if (c == '\0' || static_cast<unsigned char>(c) >= 0x80)
            return true;
    }
    return false;
}

struct ReaderCase {
    const char* what;
    std::string file;
    std::vector<std::string> texts;
};

TEST(VqsigFortuneReaderTest, CopiesEveryTextWholeOrTellsItDoesNotFit)
{
    std::vector<ReaderCase> cases{
        {"lines around the 16- and 64-byte steps and the 80 bytes copied at once",
         Line(15) + "\n" + Line(16, 'b') + "\n" + Line(17, 'c') + "\n" + Line(63, 'd') + "\n" + Line(64, 'e') + "\n" +
             Line(65, 'f') + "\n%\n" + Line(79) + "\n" + Line(80, 'b') + "\n" + Line(81, 'c') + "\n" + Line(100, 'd') +
             "\n%\n",
         {Line(15) + "\r\n" + Line(16, 'b') + "\r\n" + Line(17, 'c') + "\r\n" + Line(63, 'd') + "\r\n" +
              Line(64, 'e') + "\r\n" + Line(65, 'f'),
          Line(79) + "\r\n" + Line(80, 'b') + "\r\n" + Line(81, 'c') + "\r\n" + Line(100, 'd')}},
        {"CR LF lines, one text of exactly 20 bytes, its last CR past them",
         "0123456789\r\nabcdefgh\r\n%\r\n0123456789\r\nabcdefghi\r\n%\r\n",
         {"0123456789\r\nabcdefgh", "0123456789\r\nabcdefghi"}},
        {"empty lines around and inside a text, a lone CR kept, a text of empty lines passed over",
         "\r\n\nfirst\n\r\n\nlone\rCR\n\n%\n\n\r\n%\nlast\n", {"first\r\n\r\n\r\nlone\rCR", "last"}},
        {"only a line of \"%\" alone ends a text", "Sure: 100%\n%%\n%\t\n %\n%\r\nend\n%\r",
         {"Sure: 100%\r\n%%\r\n%\t\r\n %", "end\r\n%\r"}},
        {"texts that are not plain ASCII", std::string("na\xEFve\n%\nNUL \0 inside\n%\n", 23) + Line(70),
         {"na\xEFve", std::string("NUL \0 inside", 12), Line(70)}},
    };
    // A last text with no line break after it, ending just short of, at and just past 64 bytes
    // from where the pass looking for it began.
    for (const std::size_t last : {63u, 64u, 65u})
        cases.push_back({"the file's end without a line break", "x\n%\n" + Line(last), {"x", Line(last)}});
    for (const ReaderCase& test : cases) {
        for (const std::size_t capacity : {512u, 20u, 19u}) {
            SCOPED_TRACE(std::string(test.what) + ", room for " + std::to_string(capacity));
            FortuneReader reader(test.file);
            std::vector<std::string> texts;
            for (;;) {
                // Past what the reader says it wrote, the place must hold what it held.
                std::string place(capacity + 100, '#');
                FortuneText found;
                const bool more = reader.Next(place.data(), capacity, found);
                EXPECT_LE(found.written, capacity);
                EXPECT_EQ(std::string(place.size() - found.written, '#'), place.substr(found.written));
                if (!more)
                    break;
                std::string whole(2 * found.lines.size(), '\0');
                whole.resize(fortunes::JoinLines(found.lines, whole.data(), whole.size()));
                texts.push_back(whole);
                if (whole.size() <= capacity) {
                    EXPECT_EQ(whole.size(), found.length);
                    EXPECT_EQ(whole, place.substr(0, found.length));
                } else {
                    EXPECT_EQ(capacity + 1, found.length);
                }
                // A plain text may be told not plain, which only costs it the careful way;
                // never the other way round.
                if (HoldsNulOrHighByte(whole)) {
                    EXPECT_FALSE(found.plain) << whole;
                } else if (!HoldsNulOrHighByte(test.file)) {
                    EXPECT_TRUE(found.plain) << whole;
                }
            }
            EXPECT_EQ(test.texts, texts);
        }
        EXPECT_EQ(test.texts, fortunes::FortuneTexts(test.file)) << test.what;
    }
}

TEST(VqsigFortuneReaderTest, APercentLineMakesAFortuneFileAndWithoutOneBlankLinesSeparate)
{
    struct Case {
        std::string_view file;
        bool percentLine;
    };
    const Case cases[] = {{"a\n%\nb", true}, {"%", true},       {"a\r\n%\r\nb", true}, {"a\n%", true},
                          {"a%\nb", false},   {"a\n%x\n", false}, {"a\n%\r", false},    {"", false},
                          {" %\n", false}};
    for (const Case& c : cases)
        EXPECT_EQ(fortunes::HoldsPercentLine(c.file), c.percentLine) << c.file;

    fortunes::FortuneReader reader("\n\nfirst\n%\nsame\n \t\nsecond\r\n\r\n\n",
                                   fortunes::FortuneReader::Separator::BlankLines);
    std::vector<std::string> texts;
    for (std::string text; reader.Next(text);)
        texts.push_back(text);
    EXPECT_EQ(texts, (std::vector<std::string>{"first\r\n%\r\nsame", "second"}));
}

} // namespace
