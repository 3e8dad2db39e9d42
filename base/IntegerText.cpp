#include "base/IntegerText.h"

#include <cstdint>

namespace base {

namespace {

int DigitValue(char c, int base)
{
    int value = -1;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

} // namespace

IntegerConversionError::IntegerConversionError(const std::string& text)
    : std::runtime_error("'" + text + "' is not a valid integer value")
{
}

std::optional<int> TryParseInteger(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;

    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }

    int base = 10;
    if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }

    if (i == text.size())
        return std::nullopt; // no digits at all

    // The magnitude may reach 2^31 only for a negative number; anything larger is refused
    // digit by digit, so an overlong text cannot wrap around.
    const std::int64_t limit = negative ? std::int64_t{1} << 31 : (std::int64_t{1} << 31) - 1;
    std::int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i], base);
        if (digit < 0)
            return std::nullopt;
        magnitude = magnitude * base + digit;
        if (magnitude > limit)
            return std::nullopt;
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

int ParseInteger(const std::string& text)
{
    const std::optional<int> value = TryParseInteger(text);
    if (!value)
        throw IntegerConversionError(text);
    return *value;
}

std::string CountedText(std::size_t count, const char* one, const char* many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

} // namespace base
