#pragma once

#include <algorithm>
#include <cstdint>

// When the page calls a station idle, and when it raises an alarm. Every one is an option of
// lvcfg-line.
struct LineThresholds {
    std::int64_t shiftMs = 8 * 3'600'000;    // the shift the page counts: the last 8 hours
    std::int64_t idleAfterMs = 5 * 60'000;   // no module for this long: the station is idle
    std::int64_t idleAlarmMs = 15 * 60'000;  // idle for this long: an alarm
    double yieldAlarmBelow = 0.90;           // first-pass yield under this ...
    std::int64_t yieldAlarmModules = 20;     // ... over a station's last this many modules
    std::int64_t poolAlarmFree = 100;        // fewer free MACs than this: an alarm
    std::int64_t orderAlarmRemaining = 10;   // an open order with fewer modules left: an alarm
};

// The window of a station's current rate, and of each point of the line's rate over the shift.
inline constexpr std::int64_t kRateWindowMs = 5 * 60'000;

// How often the clock alone refreshes the line: a fraction of the shortest time a state or an
// alarm waits for, within one to five seconds.
[[nodiscard]] inline std::int64_t RefreshTickMs(const LineThresholds& thresholds) {
    const std::int64_t shortest = std::min(thresholds.idleAfterMs, thresholds.idleAlarmMs);
    return std::clamp<std::int64_t>(shortest / 4, 1000, 5000);
}
