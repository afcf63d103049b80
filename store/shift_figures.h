#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the line did in a shift, counted by the store. Times are milliseconds since 1970 UTC;
// every figure counts records whose start lies in [from, now].
struct ShiftQuery {
    std::int64_t from = 0;
    std::int64_t now = 0;
    std::int64_t recentFromMs = 0;  // a station's recent rate counts from here on
    std::int64_t lastModules = 20;  // a station's recent yield is over its last this many
};

// Modules that passed, per minute (the minute as minutes since 1970 UTC).
struct MinuteCount {
    std::int64_t minute = 0;
    std::int64_t passed = 0;
};

// First attempts and their passes per hour (hours since 1970 UTC): rework attempts and
// modules left alone as programmed before are left out.
struct HourYield {
    std::int64_t hour = 0;
    std::int64_t attempts = 0;
    std::int64_t passed = 0;
};

// Failures by reason word, most frequent first.
struct ReasonCount {
    std::string reason;
    std::int64_t count = 0;
};

// A station's attempts count its writes, rework included, and leave out the modules it left
// alone; its first attempts leave out rework too, for the first-pass yield.
struct StationFigures {
    std::string station;
    std::int64_t attempts = 0;
    std::int64_t passed = 0;
    std::int64_t firstAttempts = 0;
    std::int64_t firstPassed = 0;
    std::int64_t recentPassed = 0;  // since recentFromMs
    std::int64_t lastModuleMs = 0;  // start of the latest record
    std::int64_t lastAttempts = 0;  // of its last `lastModules` first attempts
    std::int64_t lastPassed = 0;
    std::string lastFailureReason;
    std::int64_t lastFailureMs = 0;
};

// An order's modules passed since recentFromMs, for its own pace.
struct OrderPace {
    std::string order;
    std::int64_t recentPassed = 0;
};

struct ShiftFigures {
    std::vector<MinuteCount> minutes;      // oldest first, minutes without passes left out
    std::vector<HourYield> hours;          // oldest first
    std::vector<ReasonCount> pareto;       // at most kParetoReasons
    std::vector<StationFigures> stations;  // by name
    std::vector<OrderPace> orders;         // by name, those with a module passed recently
    std::int64_t latestRecordId = 0;       // of the whole store
};

inline constexpr std::int64_t kParetoReasons = 8;
