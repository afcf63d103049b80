#include "station/station_heartbeat.h"

#include <signal.h>

#include <algorithm>

#include "store/iso_time.h"

StationHeartbeat::StationHeartbeat(StationStore& store, Snapshot snapshot, Refreshed refreshed,
                                   Look look, std::chrono::milliseconds interval)
    : m_store(store),
      m_snapshot(std::move(snapshot)),
      m_refreshed(std::move(refreshed)),
      m_look(std::move(look)),
      m_interval(interval),
      m_startedMs(StoreClockNow()),
      m_thread() {
    // The row is there before the first module: whoever looks sees the station from its start.
    const StoreStatus kept = Write(StationState::Running, false);
    if (m_refreshed) {
        m_refreshed(kept);
    }
    // The heartbeat takes no signal: an interrupt is the program's to handle (a batch blocks
    // it later, to finish its modules), and a thread started before that would still take it.
    sigset_t all;
    sigset_t previous;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, &previous);
    m_thread = std::thread([this] { Beat(); });
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

StationHeartbeat::~StationHeartbeat() {
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    m_thread.join();
    (void)Write(StationState::Stopped, true);
}

void StationHeartbeat::RefreshNow() {
    {
        const std::lock_guard lock(m_mutex);
        m_refreshNow = true;
    }
    m_wake.notify_one();
}

StoreStatus StationHeartbeat::Write(StationState finalState, bool final) {
    StationRow row = m_snapshot();
    row.startedMs = m_startedMs;
    row.lastSeenMs = StoreClockNow();
    if (final) {
        row.state = finalState;
    }
    return m_store.KeepStationRow(row);
}

void StationHeartbeat::Beat() {
    using Clock = std::chrono::steady_clock;
    std::unique_lock lock(m_mutex);
    auto nextRefresh = Clock::now() + m_interval;
    while (!m_stop) {
        const bool refresh = m_refreshNow || Clock::now() >= nextRefresh;
        m_refreshNow = false;
        lock.unlock();
        if (refresh) {
            const StoreStatus kept = Write(StationState::Running, false);
            nextRefresh = Clock::now() + m_interval;
            if (m_refreshed) {
                m_refreshed(kept);
            }
        } else if (m_look) {
            m_look();
        }
        lock.lock();
        const auto wakeAt = std::min(nextRefresh, Clock::now() + kLookInterval);
        m_wake.wait_until(lock, wakeAt, [this] { return m_stop || m_refreshNow; });
    }
}
