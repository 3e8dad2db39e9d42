#include "base/TextHash.h"

namespace base {

std::uint64_t TextHash(std::string_view text) noexcept
{
    std::uint64_t hash = 0xCBF29CE484222325ull;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001B3ull;
    }
    return hash;
}

} // namespace base
