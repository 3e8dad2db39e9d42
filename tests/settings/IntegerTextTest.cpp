#include "base/IntegerText.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>

using base::IntegerConversionError;
using base::ParseInteger;
using base::TryParseInteger;

namespace {

struct IntegerTextRow {
    const char* text;
    std::optional<int> value;
};

class IntegerTexts : public ::testing::TestWithParam<IntegerTextRow> {};

TEST_P(IntegerTexts, ParseAsStoredSettingsNeed)
{
    EXPECT_EQ(GetParam().value, TryParseInteger(GetParam().text)) << '"' << GetParam().text << '"';
}

const std::optional<int> None;

INSTANTIATE_TEST_SUITE_P(Rows, IntegerTexts,
    ::testing::Values(
        IntegerTextRow{"10", 10},           IntegerTextRow{" 10", 10},
        IntegerTextRow{"+7", 7},            IntegerTextRow{"  -3", -3},
        IntegerTextRow{"$1F", 31},          IntegerTextRow{"x1a", 26},
        IntegerTextRow{"X1A", 26},          IntegerTextRow{"0x10", 16},
        IntegerTextRow{"-0X10", -16},       IntegerTextRow{"0000000000000000010", 10},
        IntegerTextRow{"2147483647", INT_MAX},
        IntegerTextRow{"-2147483648", INT_MIN},
        IntegerTextRow{"-$80000000", INT_MIN},
        IntegerTextRow{"", None},           IntegerTextRow{"   ", None},
        IntegerTextRow{"10 ", None},        IntegerTextRow{"\t10", None},
        IntegerTextRow{"12abc", None},      IntegerTextRow{"1F", None},
        IntegerTextRow{"-", None},          IntegerTextRow{"+-1", None},
        IntegerTextRow{"- 1", None},        IntegerTextRow{"$", None},
        IntegerTextRow{"0x", None},         IntegerTextRow{"0x$1", None},
        IntegerTextRow{"99999999999", None},
        IntegerTextRow{"2147483648", None}, IntegerTextRow{"$FFFFFFFF", None}));

TEST(IntegerConversion, FailureNamesTheStoredText)
{
    EXPECT_EQ(106, ParseInteger("106"));
    for (const char* text : {"12abc", ""}) {
        try {
            ParseInteger(text);
            ADD_FAILURE() << "no failure for \"" << text << '"';
        } catch (const IntegerConversionError& failure) {
            EXPECT_EQ("'" + std::string(text) + "' is not a valid integer value", failure.what());
        }
    }
}

} // namespace
