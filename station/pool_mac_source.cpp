#include "station/pool_mac_source.h"

#include <utility>

PoolMacSource::PoolMacSource(StationStore& store, std::string station)
    : m_store(store), m_station(std::move(station)), m_reservations(store) {}

MacTake PoolMacSource::Take(const std::string& port, const MacAddress& /*current*/) {
    const StoreResult<Reservation> held = m_reservations.Reserve({m_station, port});
    if (held.outcome == StoreOutcome::PoolEmpty) {
        return {std::nullopt, ModuleOutcome::PoolEmpty, held.message};
    }
    if (!held.Ok()) {
        return {std::nullopt, ModuleOutcome::StoreFailed, held.message};
    }
    return {MacGrant{MacFromNumber(held.value.mac), held.value.id}, ModuleOutcome::Succeeded, {}};
}

StoreStatus PoolMacSource::Settle(const MacGrant& grant, MacEnd end, const ProductionRecord& record,
                                  const std::string& reason) {
    switch (end) {
        case MacEnd::NotSent:
        case MacEnd::NotTaken:
            return m_store.ReturnToPool(grant.holdId, record);
        case MacEnd::Programmed:
            return m_store.MarkVerified(grant.holdId, record);
        case MacEnd::ReadBackWrong:
            return m_store.KeepUsed(grant.holdId, record);
        case MacEnd::Suspect:
            break;
    }
    return m_store.HoldSuspect(grant.holdId, reason, record);
}
