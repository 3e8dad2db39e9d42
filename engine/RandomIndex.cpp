#include "engine/RandomIndex.h"

#include <chrono>
#include <cstdint>
#include <random>
#include <stdexcept>

std::size_t ClockSeededRandom::Below(std::size_t count)
{
    if (count == 0)
        throw std::invalid_argument("nothing to pick from");
    const auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    std::mt19937_64 generator(static_cast<std::uint64_t>(now));
    // The distribution rejects the draws that would favour low indexes.
    std::uniform_int_distribution<std::size_t> index(0, count - 1);
    return index(generator);
}
