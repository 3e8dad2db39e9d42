#pragma once
#include <cstdint>

// A pseudo-random permutation of the indexes [0, size), chosen by a key and computed one
// position at a time, so a shuffled round over any number of records needs no list of them:
// a balanced Feistel network on the smallest even number of bits that holds every index,
// walking each index's cycle until it lands inside the range again. The walk is short: the
// network's domain is less than four times the range.
class RoundPermutation {
public:
    // size is at least 1.
    RoundPermutation(std::uint64_t size, std::uint64_t key) noexcept;

    // The index at position (less than size); every index comes at exactly one position.
    std::uint64_t At(std::uint64_t position) const noexcept;

private:
    static constexpr int Rounds = 6;

    std::uint64_t Scramble(std::uint64_t value) const noexcept;

    std::uint64_t size_;
    unsigned halfBits_ = 1;
    std::uint64_t halfMask_ = 1;
    std::uint64_t roundKeys_[Rounds] = {};
};
