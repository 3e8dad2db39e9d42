#include "toolkit/IntervalCountdown.h"

#include <algorithm>

namespace toolkit {

IntervalCountdown::IntervalCountdown(UINT interval, UINT longestPeriod) noexcept
    : interval_(interval), longestPeriod_(std::max(longestPeriod, 1u)), remaining_(interval)
{
}

void IntervalCountdown::Restart(UINT interval) noexcept
{
    interval_ = interval;
    remaining_ = interval;
}

UINT IntervalCountdown::Period() const noexcept
{
    return std::min(remaining_, longestPeriod_);
}

bool IntervalCountdown::PeriodPassed() noexcept
{
    remaining_ -= Period();
    if (remaining_ > 0)
        return false;
    remaining_ = interval_;
    return true;
}

} // namespace toolkit
