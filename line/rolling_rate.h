#pragma once

#include <cstdint>
#include <vector>

#include "store/shift_figures.h"

// The line's units per hour at one minute: the modules that passed in the five minutes up to
// and including it, times twelve.
struct RatePoint {
    std::int64_t timeMs = 0;  // the start of the minute
    double perHour = 0;
};

// One point per minute from `fromMs` to `nowMs`, from the passes counted per minute.
[[nodiscard]] std::vector<RatePoint> RollingRate(const std::vector<MinuteCount>& minutes,
                                                 std::int64_t fromMs, std::int64_t nowMs);

// Units per hour from the passes counted over the rate window.
[[nodiscard]] double PerHourOfWindow(std::int64_t passedInWindow);
