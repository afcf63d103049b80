#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "store/station_store.h"

// Keeps a running production program's row in the store: written when it starts, refreshed
// every kStationRefreshIntervalMs on a thread of its own beside the ports, and written with its
// final state when it stops. A station that dies leaves its row to age: three missed refreshes
// make it offline for everyone who reads it.
class StationHeartbeat {
  public:
    // What the row says now (counts, last failure, state are the caller's; times are set
    // here). Called on the heartbeat's thread.
    using Snapshot = std::function<StationRow()>;
    // Told the outcome of each refresh, on the heartbeat's thread.
    using Refreshed = std::function<void(const StoreStatus&)>;
    // Runs on the heartbeat's thread every kLookInterval between refreshes too (a run looks at
    // its order, so that a station with nothing plugged in stops soon after the order is
    // complete).
    using Look = std::function<void()>;
    static constexpr std::chrono::milliseconds kLookInterval{1000};

    StationHeartbeat(
        StationStore& store, Snapshot snapshot, Refreshed refreshed, Look look = {},
        std::chrono::milliseconds interval = std::chrono::milliseconds(kStationRefreshIntervalMs));
    // Stops refreshing and writes the row once more as Stopped.
    ~StationHeartbeat();
    StationHeartbeat(const StationHeartbeat&) = delete;
    StationHeartbeat& operator=(const StationHeartbeat&) = delete;

    // Writes the row now, off the schedule (a state that changed).
    void RefreshNow();

  private:
    StoreStatus Write(StationState finalState, bool final);
    void Beat();

    StationStore& m_store;
    const Snapshot m_snapshot;
    const Refreshed m_refreshed;
    const Look m_look;
    const std::chrono::milliseconds m_interval;
    const std::int64_t m_startedMs;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    bool m_refreshNow = false;
    std::thread m_thread;  // started once the first row is written
};
