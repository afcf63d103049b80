#pragma once

#include <cstdint>
#include <string>

// A running production program keeps a row of its own in the store, refreshed every
// kStationRefreshIntervalMs while it runs; a program that stops writes its final state.
enum class StationState { Running, Stopping, Stopped };  // "offline" is derived by age

struct StationRow {
    std::string station, host, program, version, order;
    StationState state = StationState::Stopped;
    std::int64_t startedMs = 0, lastSeenMs = 0;
    std::int64_t done = 0, failed = 0;
    std::string lastFailureReason;
    std::int64_t lastFailureMs = 0;
};

// How often a running station refreshes its row.
inline constexpr std::int64_t kStationRefreshIntervalMs = 5000;
// A row not refreshed for this many intervals belongs to a station that has gone.
inline constexpr std::int64_t kStationOfflineAfterIntervals = 3;

[[nodiscard]] const char* StationStateName(StationState state);

// true when a station that says it runs or stops has not refreshed its row for three
// intervals at `nowMs`: it died or lost the store. A stopped station is never offline.
[[nodiscard]] bool StationRowIsOffline(const StationRow& row, std::int64_t nowMs);
