#include "engine/RandomIndex.h"

#include <windows.h>

#include <cstdint>
#include <random>
#include <stdexcept>

std::size_t ClockSeededRandom::Below(std::size_t count)
{
    if (count == 0)
        throw std::invalid_argument("nothing to pick from");
    // The performance counter ticks far faster than picks come, whereas the system time may
    // tick only every 16 ms on older Windows, which would give the database pick and the
    // record pick of one change the same seed. The pick number keeps even two picks within
    // one tick apart.
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter); // cannot fail on any Windows the program runs on
    const auto now = static_cast<std::uint64_t>(counter.QuadPart);
    ++picks_;
    std::seed_seq seed{static_cast<std::uint32_t>(now), static_cast<std::uint32_t>(now >> 32),
                       static_cast<std::uint32_t>(picks_), static_cast<std::uint32_t>(picks_ >> 32)};
    std::mt19937_64 generator(seed);
    // The distribution rejects the draws that would favour low indexes.
    std::uniform_int_distribution<std::size_t> index(0, count - 1);
    return index(generator);
}
