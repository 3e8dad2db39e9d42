#pragma once
#include <windows.h>

namespace toolkit {

// An interval longer than the system timer's longest period, counted as a run of periods the
// timer can take: as many of the longest as fit, then the rest. A shorter interval is a
// single period of its own length.
class IntervalCountdown {
public:
    IntervalCountdown(UINT interval, UINT longestPeriod) noexcept;

    // Counts a new interval from its start, in periods as long as before.
    void Restart(UINT interval) noexcept;
    // The period the system timer should count now.
    UINT Period() const noexcept;
    // That period has passed. True when the whole interval has, and the count starts over.
    bool PeriodPassed() noexcept;

private:
    UINT interval_;
    UINT longestPeriod_;
    UINT remaining_;
};

} // namespace toolkit
