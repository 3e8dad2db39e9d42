#pragma once
#include <string>
#include <string_view>

namespace base {

// Case folding as the program does it everywhere: only the letters a to z change; every
// other byte (accented letters of the ANSI code page included) is compared as it is.
char AsciiUpperCase(char c) noexcept;
std::string AsciiUpperCase(std::string_view text);
bool AsciiEqualNoCase(std::string_view a, std::string_view b) noexcept;
// The same for text read through the wide API (file names, registry values).
bool AsciiEqualNoCase(std::wstring_view a, std::wstring_view b) noexcept;

} // namespace base
