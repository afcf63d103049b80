#include "ui/station/pool_watch.h"

#include <utility>

PoolWatch::PoolWatch(StationStore& store, std::chrono::milliseconds every, Told told)
    : m_store(store), m_every(every), m_told(std::move(told)), m_thread([this] { Watch(); }) {}

PoolWatch::~PoolWatch() {
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void PoolWatch::ReadNow() {
    {
        const std::lock_guard lock(m_mutex);
        m_asked = true;
    }
    m_wake.notify_one();
}

void PoolWatch::Watch() {
    std::unique_lock lock(m_mutex);
    while (!m_stop) {
        m_wake.wait_for(lock, m_every, [this] { return m_stop || m_asked; });
        if (m_stop) {
            return;
        }
        m_asked = false;
        lock.unlock();
        const StoreResult<PoolStatus> status = m_store.Status();
        m_told(status.Ok() ? std::optional<std::uint64_t>(status.value.free) : std::nullopt);
        lock.lock();
    }
}
