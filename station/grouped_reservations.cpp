#include "station/grouped_reservations.h"

#include <vector>

StoreResult<Reservation> GroupedReservations::Reserve(const ReservationRequest& request) {
    Waiter me{request, false, {}};
    std::unique_lock lock(m_mutex);
    m_waiting.push_back(&me);
    while (!me.done) {
        if (m_reserving) {
            m_reserved.wait(lock);
        } else {
            ReserveForWaiting(lock);
        }
    }
    return me.result;
}

// Under m_mutex on entry and return; the store is asked without it.
void GroupedReservations::ReserveForWaiting(std::unique_lock<std::mutex>& lock) {
    m_reserving = true;
    std::vector<Waiter*> group(m_waiting.begin(), m_waiting.end());
    m_waiting.clear();
    std::vector<ReservationRequest> requests;
    for (const Waiter* waiter : group) {
        requests.push_back(waiter->request);
    }
    lock.unlock();
    const StoreResult<std::vector<Reservation>> held = m_store.ReserveMany(requests);
    lock.lock();
    for (std::size_t i = 0; i < group.size(); ++i) {
        if (!held.Ok()) {
            group[i]->result = StoreStatus{held.outcome, held.message};
        } else if (i < held.value.size()) {
            group[i]->result = held.value[i];
        } else {
            group[i]->result = StoreFailure(StoreOutcome::PoolEmpty, "the MAC pool is empty");
        }
        group[i]->done = true;
    }
    m_reserving = false;
    m_reserved.notify_all();
}
