#include "base/ByteSearch.h"

#include <cstdint>
#include <cstring>

namespace base {

std::size_t FindByte(std::string_view bytes, char byte) noexcept
{
    constexpr std::uint64_t ones = 0x0101010101010101u;
    constexpr std::uint64_t highs = 0x8080808080808080u;
    const std::uint64_t pattern = ones * static_cast<unsigned char>(byte);
    std::size_t i = 0;
    // A word holds the byte when the word XOR the pattern has a zero byte.
    for (std::uint64_t word; i + sizeof word <= bytes.size(); i += sizeof word) {
        std::memcpy(&word, bytes.data() + i, sizeof word);
        const std::uint64_t x = word ^ pattern;
        if ((x - ones) & ~x & highs)
            break;
    }
    for (; i < bytes.size(); ++i) {
        if (bytes[i] == byte)
            return i;
    }
    return std::string_view::npos;
}

} // namespace base
