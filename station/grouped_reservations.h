#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>

#include "store/station_store.h"

// Reservations of many programming threads, grouped: while one thread's transaction waits for
// the disk, the requests of the others gather, and the next of them reserves for all of them in
// one transaction. Each module still has its reservation committed before it is written; 64
// modules no longer queue behind 64 disk waits. Safe for many threads; the store must be safe
// for them too (a SerializedStationStore).
class GroupedReservations {
  public:
    explicit GroupedReservations(StationStore& store) : m_store(store) {}

    // Holds the next free MAC for `request`, or ends with PoolEmpty or the store's failure.
    [[nodiscard]] StoreResult<Reservation> Reserve(const ReservationRequest& request);

  private:
    struct Waiter {
        ReservationRequest request;
        bool done = false;
        StoreResult<Reservation> result;
    };

    void ReserveForWaiting(std::unique_lock<std::mutex>& lock);

    StationStore& m_store;
    std::mutex m_mutex;
    std::condition_variable m_reserved;
    std::deque<Waiter*> m_waiting;
    bool m_reserving = false;
};
