#include "base/AsciiText.h"

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

bool AsciiEqualNoCase(std::string_view a, std::string_view b) noexcept
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiUpperCase(a[i]) != AsciiUpperCase(b[i]))
            return false;
    }
    return true;
}

} // namespace base
