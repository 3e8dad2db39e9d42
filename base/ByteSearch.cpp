#include "base/ByteSearch.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace base {

std::size_t FindByte(std::string_view bytes, char byte) noexcept
{
    constexpr std::uint64_t ones = 0x0101010101010101u;
    constexpr std::uint64_t highs = 0x8080808080808080u;
    const std::uint64_t pattern = ones * static_cast<unsigned char>(byte);
    std::size_t i = 0;
    for (std::uint64_t word; i + sizeof word <= bytes.size(); i += sizeof word) {
        std::memcpy(&word, bytes.data() + i, sizeof word);
        // The bytes equal to the one sought are the zero bytes of x; the lowest flag set
        // marks the first of them (a flag above a zero byte may be false, never one below).
        const std::uint64_t x = word ^ pattern;
        if (const std::uint64_t zeros = (x - ones) & ~x & highs) {
            if constexpr (std::endian::native == std::endian::little)
                return i + static_cast<std::size_t>(std::countr_zero(zeros)) / 8;
            break;
        }
    }
    for (; i < bytes.size(); ++i) {
        if (bytes[i] == byte)
            return i;
    }
    return std::string_view::npos;
}

} // namespace base
