#include "settings/IntegerText.h"

#include <gtest/gtest.h>

#include <optional>

using settings::IntegerConversionError;
using settings::ParseInteger;
using settings::TryParseInteger;

namespace {

struct IntegerTextRow {
    const char* text;
    std::optional<int> value;
};

class IntegerTexts : public ::testing::TestWithParam<IntegerTextRow> {};

TEST_P(IntegerTexts, ParseAsStoredSettingsNeed)
{
    const IntegerTextRow row = GetParam();
    EXPECT_EQ(row.value, TryParseInteger(row.text)) << '"' << row.text << '"';
}

INSTANTIATE_TEST_SUITE_P(Rows, IntegerTexts,
    ::testing::Values(
        IntegerTextRow{"10", 10},
        IntegerTextRow{"0", 0},
        IntegerTextRow{"007", 7},
        IntegerTextRow{"0000000000000000000000010", 10},
        IntegerTextRow{" 10", 10},
        IntegerTextRow{"   -3", -3},
        IntegerTextRow{"+7", 7},
        IntegerTextRow{"-3", -3},
        IntegerTextRow{"$1F", 31},
        IntegerTextRow{"$1f", 31},
        IntegerTextRow{"x1A", 26},
        IntegerTextRow{"X1a", 26},
        IntegerTextRow{"0x10", 16},
        IntegerTextRow{"0X10", 16},
        IntegerTextRow{"-0X10", -16},
        IntegerTextRow{"+$10", 16},
        IntegerTextRow{"2147483647", 2147483647},
        IntegerTextRow{"-2147483648", -2147483647 - 1},
        IntegerTextRow{"$7FFFFFFF", 2147483647},
        IntegerTextRow{"-$80000000", -2147483647 - 1},
        // not integers
        IntegerTextRow{"", std::nullopt},
        IntegerTextRow{"   ", std::nullopt},
        IntegerTextRow{"10 ", std::nullopt},
        IntegerTextRow{"\t10", std::nullopt},
        IntegerTextRow{"12abc", std::nullopt},
        IntegerTextRow{"1 0", std::nullopt},
        IntegerTextRow{"+", std::nullopt},
        IntegerTextRow{"-", std::nullopt},
        IntegerTextRow{"+-1", std::nullopt},
        IntegerTextRow{"- 1", std::nullopt},
        IntegerTextRow{"$", std::nullopt},
        IntegerTextRow{"0x", std::nullopt},
        IntegerTextRow{"$G", std::nullopt},
        IntegerTextRow{"1F", std::nullopt},
        IntegerTextRow{"0x$1", std::nullopt},
        IntegerTextRow{"1.5", std::nullopt},
        IntegerTextRow{"99999999999", std::nullopt},
        IntegerTextRow{"2147483648", std::nullopt},
        IntegerTextRow{"-2147483649", std::nullopt},
        IntegerTextRow{"$80000000", std::nullopt},
        IntegerTextRow{"$FFFFFFFF", std::nullopt},
        IntegerTextRow{"000000000000000000000000000000000000000099999999999", std::nullopt}));

TEST(IntegerConversion, FailureNamesTheStoredText)
{
    EXPECT_EQ(106, ParseInteger("106"));
    try {
        ParseInteger("12abc");
        FAIL() << "no failure";
    } catch (const IntegerConversionError& failure) {
        EXPECT_STREQ("'12abc' is not a valid integer value", failure.what());
    }
    try {
        ParseInteger("");
        FAIL() << "no failure";
    } catch (const IntegerConversionError& failure) {
        EXPECT_STREQ("'' is not a valid integer value", failure.what());
    }
}

} // namespace
