#include "station/pool_mac_source.h"

#include <utility>

PoolMacSource::PoolMacSource(StationStore& store, std::string station)
    : m_store(store), m_station(std::move(station)) {}

std::optional<MacAddress> PoolMacSource::Take(const std::string& port) {
    const std::lock_guard lock(m_mutex);
    if (m_stopped) {
        return std::nullopt;
    }
    const StoreResult<Reservation> reserved = m_store.Reserve({m_station, port});
    if (!reserved.Ok()) {
        m_stopped = StoreStatus{reserved.outcome, reserved.message};
        return std::nullopt;
    }
    m_holds[reserved.value.mac] = Hold{reserved.value.id, false, false};
    return MacFromNumber(reserved.value.mac);
}

void PoolMacSource::GiveBack(const MacAddress& mac) {
    const std::lock_guard lock(m_mutex);
    const auto hold = m_holds.find(MacToNumber(mac));
    if (hold != m_holds.end()) {
        hold->second.givenBack = true;
    }
}

void PoolMacSource::Written(const MacAddress& mac, bool /*verified*/) {
    const std::lock_guard lock(m_mutex);
    const auto hold = m_holds.find(MacToNumber(mac));
    if (hold == m_holds.end()) {
        return;
    }
    hold->second.written = true;
    // A failure here leaves the MAC reserved, which a later start quarantines: the module may
    // hold it. Settle keeps it used all the same.
    (void)Checked(m_store.MarkWritten(hold->second.reservationId));
}

StoreStatus PoolMacSource::Settle(const MacAddress& mac, bool succeeded,
                                  const ProductionRecord& record) {
    const std::lock_guard lock(m_mutex);
    const auto found = m_holds.find(MacToNumber(mac));
    if (found == m_holds.end()) {
        return StoreFailure(StoreOutcome::ReservationClosed,
                            "no reservation of " + FormatMacAddress(mac) + " in this batch");
    }
    const Hold hold = found->second;
    m_holds.erase(found);
    if (hold.givenBack && !hold.written) {
        return Checked(m_store.ReturnToPool(hold.reservationId, record));
    }
    if (succeeded && hold.written) {
        return Checked(m_store.MarkVerified(hold.reservationId, record));
    }
    return Checked(m_store.KeepUsed(hold.reservationId, record));
}

StoreStatus PoolMacSource::AddRecord(const ProductionRecord& record) {
    const std::lock_guard lock(m_mutex);
    return Checked(m_store.AddRecord(record));
}

std::optional<StoreStatus> PoolMacSource::Stopped() const {
    const std::lock_guard lock(m_mutex);
    return m_stopped;
}

// Under m_mutex. The first failure stops the source.
StoreStatus PoolMacSource::Checked(StoreStatus status) {
    if (!status.Ok() && !m_stopped) {
        m_stopped = status;
    }
    return status;
}
