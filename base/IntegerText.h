#pragma once
#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>

namespace base {

// A stored text that is not an integer; the message is "'<text>' is not a valid integer value".
class IntegerConversionError : public std::runtime_error {
public:
    explicit IntegerConversionError(const std::string& text);
};

// The integer texts the settings hold ("Minutes", "Top", "Left"): leading blanks, at most one
// sign, then decimal digits, or hexadecimal digits after "$", "x", "X", "0x" or "0X". Anything
// else, a trailing blank included, is not an integer, and neither is a value outside the
// 32-bit signed range.
std::optional<int> TryParseInteger(const std::string& text);

// The same, failing with IntegerConversionError when the text is not an integer: the
// Try- form answers nothing instead.
int ParseInteger(const std::string& text);

// A count and the word that goes with it, "1 signature" or "431 signatures".
std::string CountedText(std::size_t count, const char* one, const char* many);

} // namespace base
