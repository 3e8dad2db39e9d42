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

bool AsciiEqualNoCase(std::wstring_view a, std::wstring_view b) noexcept
{
    const auto fold = [](wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; };
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (fold(a[i]) != fold(b[i]))
            return false;
    }
    return true;
}

} // namespace base
