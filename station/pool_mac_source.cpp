#include "station/pool_mac_source.h"

#include <utility>

PoolMacSource::PoolMacSource(LockedStationStore& store, std::string station)
    : m_store(store), m_station(std::move(station)) {}

std::optional<MacAddress> PoolMacSource::Take(const std::string& port) {
    const ReservationRequest request{m_station, port};
    StoreResult<Reservation> reserved =
        m_store.Use([&](StationStore& store) { return store.Reserve(request); });
    const std::lock_guard lock(m_mutex);
    if (!reserved.Ok()) {
        m_lastTakeFailure =
            reserved.outcome == StoreOutcome::PoolEmpty ? std::string() : reserved.message;
        return std::nullopt;
    }
    m_lastTakeFailure.clear();
    m_holds[reserved.value.mac] = Hold{reserved.value.id, HoldStep::Reserved};
    return MacFromNumber(reserved.value.mac);
}

void PoolMacSource::GiveBack(const MacAddress& mac) {
    const std::lock_guard lock(m_mutex);
    const auto hold = m_holds.find(MacToNumber(mac));
    if (hold != m_holds.end()) {
        hold->second.step = HoldStep::GivenBack;
    }
}

void PoolMacSource::Written(const MacAddress& mac, bool /*verified*/) {
    std::int64_t reservationId = 0;
    {
        const std::lock_guard lock(m_mutex);
        const auto hold = m_holds.find(MacToNumber(mac));
        if (hold == m_holds.end()) {
            return;
        }
        hold->second.step = HoldStep::Written;
        reservationId = hold->second.reservationId;
    }
    // A refusal here leaves the hold reserved; Close then keeps the MAC used, never free.
    (void)m_store.Use([&](StationStore& store) { return store.MarkWritten(reservationId); });
}

bool PoolMacSource::Close(const MacAddress& mac, const ProductionRecord& record,
                          std::string& failure) {
    Hold hold;
    {
        const std::lock_guard lock(m_mutex);
        const auto found = m_holds.find(MacToNumber(mac));
        if (found == m_holds.end()) {
            failure = "no reservation is held for " + FormatMacAddress(mac);
            return false;
        }
        hold = found->second;
        m_holds.erase(found);
    }
    const StoreStatus closed = m_store.Use([&](StationStore& store) {
        switch (hold.step) {
            case HoldStep::GivenBack:
                return store.ReturnToPool(hold.reservationId, record);
            case HoldStep::Written:
                if (record.outcome == "ok") {
                    return store.MarkVerified(hold.reservationId, record);
                }
                break;
            case HoldStep::Reserved:
                break;
        }
        return store.KeepUsed(hold.reservationId, record);
    });
    failure = closed.message;
    return closed.Ok();
}

std::string PoolMacSource::LastTakeFailure() const {
    const std::lock_guard lock(m_mutex);
    return m_lastTakeFailure;
}
