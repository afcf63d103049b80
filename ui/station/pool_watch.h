#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "store/station_store.h"

// Reads the pool's free count every few seconds on a thread of its own, so MACs added by
// another program show while the window runs and a database slow to answer never stalls the
// window. Each count (nothing when it could not be read) goes to `told` on that thread.
class PoolWatch {
  public:
    using Told = std::function<void(std::optional<std::uint64_t> free)>;

    // `store` must be safe for many threads and outlive the watch.
    PoolWatch(StationStore& store, std::chrono::milliseconds every, Told told);
    ~PoolWatch();
    PoolWatch(const PoolWatch&) = delete;
    PoolWatch& operator=(const PoolWatch&) = delete;

    // Reads again at once, without waiting for the next turn.
    void ReadNow();

  private:
    void Watch();

    StationStore& m_store;
    const std::chrono::milliseconds m_every;
    const Told m_told;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    bool m_asked = false;
    std::thread m_thread;  // last: it starts once the members above are ready
};
