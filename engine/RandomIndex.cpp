#include "engine/RandomIndex.h"

#include <windows.h>

#include <cstdint>
#include <random>
#include <stdexcept>

namespace {

// A uniform 64-bit stream that a seed sets up at no cost: a Mersenne twister's seeding
// would cost microseconds on every pick, a good part of what the random change adds to its
// file work.
struct SplitMix64 {
    using result_type = std::uint64_t;
    static constexpr result_type min() { return 0; }
    static constexpr result_type max() { return ~result_type{0}; }
    result_type operator()()
    {
        result_type z = (state += 0x9E3779B97F4A7C15u);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
        return z ^ (z >> 31);
    }
    result_type state;
};

} // namespace

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
    ++picks_;
    SplitMix64 generator{static_cast<std::uint64_t>(counter.QuadPart) ^ (picks_ * 0xD1B54A32D192ED03u)};
    // The distribution rejects the draws that would favour low indexes.
    std::uniform_int_distribution<std::size_t> index(0, count - 1);
    return index(generator);
}
