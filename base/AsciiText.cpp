#include "base/AsciiText.h"

#include <algorithm>

namespace base {

char AsciiUpperCase(char c) noexcept
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string AsciiUpperCase(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        c = AsciiUpperCase(c);
    return result;
}

namespace {

// Equal but for the letter case of a to z, in narrow or wide characters alike.
template <typename Char>
bool EqualFoldingAsciiLetters(std::basic_string_view<Char> a, std::basic_string_view<Char> b) noexcept
{
    const auto fold = [](Char c) {
        return c >= Char('a') && c <= Char('z') ? static_cast<Char>(c - Char('a') + Char('A')) : c;
    };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](Char x, Char y) { return fold(x) == fold(y); });
}

} // namespace

bool AsciiEqualNoCase(std::string_view a, std::string_view b) noexcept
{
    return EqualFoldingAsciiLetters(a, b);
}

bool AsciiEqualNoCase(std::wstring_view a, std::wstring_view b) noexcept
{
    return EqualFoldingAsciiLetters(a, b);
}

} // namespace base
