// The starter collection the build makes from Debian's fortune files: enough signatures,
// each one short enough for a mail and held in Windows-1252, none twice.
#include "tests/common/TestFiles.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

constexpr std::size_t RecordSize = 513;

} // namespace

TEST(StarterCollectionTest, HoldsAtLeast500ShortDistinctSignaturesInWindows1252)
{
    const std::string bytes = ReadBytes(VARNQUILL_STARTER_COLLECTION);
    ASSERT_EQ(bytes.size() % RecordSize, 0u);
    EXPECT_GE(bytes.size() / RecordSize, 500u);
    std::set<std::string> seen;
    for (std::size_t at = 0; at < bytes.size(); at += RecordSize) {
        const std::string record = bytes.substr(at, RecordSize);
        const std::string text = record.substr(1, record.find('\0', 1) - 1);
        EXPECT_EQ(record.find_first_not_of('\0', 1 + text.size()), std::string::npos) << "bytes after " << text;
        EXPECT_FALSE(text.empty());
        EXPECT_LE(text.size(), 300u) << text;
        EXPECT_TRUE(seen.insert(text).second) << "twice: " << text;
        std::size_t lines = 0;
        for (std::size_t start = 0; start <= text.size(); ++lines) {
            const std::size_t end = std::min(text.find("\r\n", start), text.size());
            EXPECT_LE(end - start, 76u) << text;
            start = end + 2;
        }
        EXPECT_LE(lines, 4u) << text;
        for (const char c : text) {
            const auto byte = static_cast<unsigned char>(c);
            // Controls other than the line breaks, and the five bytes Windows-1252 leaves undefined.
            const bool control = (byte < 0x20 && c != '\r' && c != '\n') || byte == 0x7F;
            const bool undefined = byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
            EXPECT_FALSE(control || undefined) << text;
        }
    }
}
