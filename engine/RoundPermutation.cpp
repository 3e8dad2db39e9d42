#include "engine/RoundPermutation.h"

#include <bit>

namespace {

// splitmix64's finaliser: every input bit reaches every output bit.
std::uint64_t Mix(std::uint64_t value) noexcept
{
    value ^= value >> 30;
    value *= 0xBF58476D1CE4E5B9ull;
    value ^= value >> 27;
    value *= 0x94D049BB133111EBull;
    return value ^ (value >> 31);
}

} // namespace

RoundPermutation::RoundPermutation(std::uint64_t size, std::uint64_t key) noexcept : size_(size)
{
    const unsigned bits = size > 1 ? static_cast<unsigned>(std::bit_width(size - 1)) : 1;
    halfBits_ = (bits + 1) / 2;
    halfMask_ = (1ull << halfBits_) - 1; // halfBits_ is at most 32
    for (int round = 0; round < Rounds; ++round)
        roundKeys_[round] = Mix(key + 0x9E3779B97F4A7C15ull * static_cast<std::uint64_t>(round + 1));
}

std::uint64_t RoundPermutation::Scramble(std::uint64_t value) const noexcept
{
    std::uint64_t left = value >> halfBits_;
    std::uint64_t right = value & halfMask_;
    for (const std::uint64_t roundKey : roundKeys_) {
        const std::uint64_t next = left ^ (Mix(right ^ roundKey) & halfMask_);
        left = right;
        right = next;
    }
    return (left << halfBits_) | right;
}

std::uint64_t RoundPermutation::At(std::uint64_t position) const noexcept
{
    if (size_ <= 1)
        return 0;
    // The network permutes its whole domain, so following the cycle from a position inside
    // the range comes back inside it, and no two positions arrive at the same index.
    std::uint64_t index = Scramble(position);
    while (index >= size_)
        index = Scramble(index);
    return index;
}
