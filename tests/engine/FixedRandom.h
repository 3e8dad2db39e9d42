#pragma once
#include "engine/RandomIndex.h"

#include <deque>
#include <vector>

// Hands out the given picks in order, and records the ranges it was asked for.
class FixedRandom : public RandomIndexSource {
public:
    explicit FixedRandom(std::deque<std::size_t> picks) : picks_(std::move(picks)) {}
    std::size_t Below(std::size_t count) override
    {
        asked.push_back(count);
        if (picks_.empty())
            return 0;
        const std::size_t pick = picks_.front();
        picks_.pop_front();
        return pick;
    }
    std::vector<std::size_t> asked;

private:
    std::deque<std::size_t> picks_;
};
