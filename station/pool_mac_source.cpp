#include "station/pool_mac_source.h"

#include <utility>

PoolMacSource::PoolMacSource(StationStore& store, std::string station, CurrentMac currentMac)
    : m_store(store), m_station(std::move(station)), m_currentMac(std::move(currentMac)) {}

std::optional<MacAddress> PoolMacSource::Take(const std::string& port) {
    // The module is read without the lock: other ports go on meanwhile.
    const std::optional<MacAddress> current =
        m_currentMac && !Stopped() ? m_currentMac(port) : std::nullopt;
    const std::lock_guard lock(m_mutex);
    if (m_stopped) {
        return std::nullopt;
    }
    if (current && KeepsItsMac(*current)) {
        m_holds[MacToNumber(*current)] = Hold{};
        return current;
    }
    if (m_stopped) {  // the look at the module's MAC met a failed store
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
    if (hold == m_holds.end() || hold->second.reservationId == 0) {
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
    if (hold.reservationId == 0) {
        return Checked(m_store.AddRecord(record));
    }
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

// Under m_mutex. A MAC the pool holds as verified and no other module of this batch holds
// right now (of two modules that claim the same MAC at once, only the first keeps it).
bool PoolMacSource::KeepsItsMac(const MacAddress& mac) {
    if (m_holds.count(MacToNumber(mac)) != 0) {
        return false;
    }
    const StoreResult<MacState> state = m_store.StateOf(MacToNumber(mac));
    if (!state.Ok()) {
        (void)Checked(StoreStatus{state.outcome, state.message});
        return false;
    }
    return state.value == MacState::Verified;
}

// Under m_mutex. The first failure stops the source.
StoreStatus PoolMacSource::Checked(StoreStatus status) {
    if (!status.Ok() && !m_stopped) {
        m_stopped = status;
    }
    return status;
}
