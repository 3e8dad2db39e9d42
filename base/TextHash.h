#pragma once
#include <cstdint>
#include <string_view>

namespace base {

// 64-bit FNV-1a: how a text or a path is known again without keeping it, and how a small
// stored record tells whether it was written whole.
std::uint64_t TextHash(std::string_view text) noexcept;

} // namespace base
