#pragma once
#include <string_view>

namespace base {

// Where the first byte of that value is, or npos: std::string_view::find(char), but eight
// bytes at a time. The C runtime's memchr, which find calls, goes byte by byte under Wine,
// and whole collections of fortune files are searched for line breaks.
std::size_t FindByte(std::string_view bytes, char byte) noexcept;

} // namespace base
