#pragma once
// What the benchmarks share: the clock they time with, how a series of runs is summed up,
// and how a result is set against its floor.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double Milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

template <typename F>
double TimeMs(F&& work)
{
    const Clock::time_point start = Clock::now();
    work();
    return Milliseconds(Clock::now() - start);
}

// The median, so that one run slowed by the machine's other work does not move the result.
inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// One line: the operation's median, the floor's median from the same run, their ratio and
// whether it is within the target (at most target times the floor). Only the ratio means
// anything on a machine that others are loading; the times show how busy it was. Answers
// whether the target was met.
inline bool PrintAgainstFloor(const char* what, double measured, double floor, double target,
                              const char* unit = "ms")
{
    const double ratio = measured / floor;
    const bool met = ratio <= target;
    std::printf("%-30s %10.3f %s  floor %10.3f %s  ratio %5.2fx  target at most %.1fx: %s\n", what, measured, unit,
                floor, unit, ratio, target, met ? "met" : "NOT MET");
    return met;
}

} // namespace bench
