#include "store/station_row.h"

const char* StationStateName(StationState state) {
    switch (state) {
        case StationState::Running:
            return "running";
        case StationState::Stopping:
            return "stopping";
        case StationState::Stopped:
            return "stopped";
    }
    return "unknown";
}

bool StationRowIsOffline(const StationRow& row, std::int64_t nowMs) {
    return row.state != StationState::Stopped &&
           nowMs - row.lastSeenMs > kStationOfflineAfterIntervals * kStationRefreshIntervalMs;
}
