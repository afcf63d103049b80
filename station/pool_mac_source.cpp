#include "station/pool_mac_source.h"

#include <utility>

namespace {

std::vector<StoreResult<Reservation>> ReserveForAll(StationStore& store,
                                                    const std::vector<ReservationRequest>& group) {
    const StoreResult<std::vector<Reservation>> held = store.ReserveMany(group);
    std::vector<StoreResult<Reservation>> results;
    for (std::size_t i = 0; i < group.size(); ++i) {
        if (!held.Ok()) {
            results.emplace_back(StoreStatus{held.outcome, held.message});
        } else if (i < held.value.size()) {
            results.emplace_back(held.value[i]);
        } else {
            results.emplace_back(StoreFailure(StoreOutcome::PoolEmpty, "the MAC pool is empty"));
        }
    }
    return results;
}

}  // namespace

PoolMacSource::PoolMacSource(StationStore& store, std::string station)
    : m_store(store),
      m_station(std::move(station)),
      m_reservations([&store](const std::vector<ReservationRequest>& group) {
          return ReserveForAll(store, group);
      }) {}

MacTake PoolMacSource::Take(const std::string& port, const MacAddress& /*current*/) {
    const StoreResult<Reservation> held = m_reservations.Done({m_station, port});
    if (held.outcome == StoreOutcome::PoolEmpty) {
        return {std::nullopt, ModuleOutcome::PoolEmpty, held.message};
    }
    if (!held.Ok()) {
        return {std::nullopt, ModuleOutcome::StoreFailed, held.message};
    }
    return {MacGrant{MacFromNumber(held.value.mac), held.value.id}, ModuleOutcome::Succeeded, {}};
}

StoreStatus PoolMacSource::Settle(StationStore& store, const MacGrant& grant, MacEnd end,
                                  const ProductionRecord& record, const std::string& reason) {
    switch (end) {
        case MacEnd::NotSent:
        case MacEnd::NotTaken:
            return store.ReturnToPool(grant.holdId, record);
        case MacEnd::Programmed:
            return store.MarkVerified(grant.holdId, record);
        case MacEnd::ReadBackWrong:
            return store.KeepUsed(grant.holdId, record);
        case MacEnd::Suspect:
            break;
    }
    return store.HoldSuspect(grant.holdId, reason, record);
}
