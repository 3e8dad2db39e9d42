#pragma once
#include <cstddef>
#include <cstdint>

// Where random picks come from. The program re-seeds from the clock before every pick;
// tests may hand in a source of their own.
class RandomIndexSource {
public:
    virtual ~RandomIndexSource() = default;
    // A uniform index in [0, count); count is at least 1.
    virtual std::size_t Below(std::size_t count) = 0;
};

// The program's source: a SplitMix64 generator seeded from the clock before each pick, mapped
// onto the range without modulo bias.
class ClockSeededRandom : public RandomIndexSource {
public:
    std::size_t Below(std::size_t count) override;

private:
    std::uint64_t picks_ = 0;
};
