#include "line/rolling_rate.h"

#include "line/line_thresholds.h"

namespace {

constexpr std::int64_t kMinuteMs = 60'000;
constexpr std::int64_t kWindowMinutes = kRateWindowMs / kMinuteMs;

}  // namespace

double PerHourOfWindow(std::int64_t passedInWindow) {
    return static_cast<double>(passedInWindow) * 3'600'000.0 / static_cast<double>(kRateWindowMs);
}

std::vector<RatePoint> RollingRate(const std::vector<MinuteCount>& minutes, std::int64_t fromMs,
                                   std::int64_t nowMs) {
    const std::int64_t first = fromMs / kMinuteMs;
    const std::int64_t last = nowMs / kMinuteMs;
    std::vector<RatePoint> points;
    if (last < first) {
        return points;
    }
    // Passes per minute of the shift, with the minutes before it that the first window needs.
    std::vector<std::int64_t> passed(static_cast<std::size_t>(last - first + kWindowMinutes), 0);
    for (const MinuteCount& count : minutes) {
        const std::int64_t at = count.minute - first + kWindowMinutes - 1;
        if (at >= 0 && at < static_cast<std::int64_t>(passed.size())) {
            passed[static_cast<std::size_t>(at)] += count.passed;
        }
    }
    std::int64_t window = 0;
    for (std::size_t i = 0; i < passed.size(); ++i) {
        window += passed[i];
        if (i >= static_cast<std::size_t>(kWindowMinutes)) {
            window -= passed[i - kWindowMinutes];
        }
        if (i + 1 >= static_cast<std::size_t>(kWindowMinutes)) {
            const auto minute = first + static_cast<std::int64_t>(i + 1) - kWindowMinutes;
            points.push_back({minute * kMinuteMs, PerHourOfWindow(window)});
        }
    }
    return points;
}
