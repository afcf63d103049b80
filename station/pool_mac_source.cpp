#include "station/pool_mac_source.h"

#include <chrono>
#include <thread>
#include <utility>

namespace {

// A module of an order whose remaining modules are all in flight waits in its socket for them
// to settle: one that fails frees its place, and once the order is complete the module is left
// alone. A MAC held out as suspect or quarantined keeps its place until a person releases it,
// so the wait has an end.
constexpr std::chrono::milliseconds kOrderFullRetry{200};
constexpr std::chrono::milliseconds kOrderFullWaitLimit{5000};

// Why the store held fewer MACs than asked: the pool ran out, or the order of the requests
// takes no more modules now (complete or closed, or all it needs in flight).
StoreStatus Shortfall(StationStore& store, const std::string& order) {
    const StoreStatus empty = StoreFailure(StoreOutcome::PoolEmpty, "the MAC pool is empty");
    if (order.empty()) {
        return empty;
    }
    const StoreResult<OrderDetail> found = store.Order(order);
    if (!found.Ok()) {
        return StoreStatus{found.outcome, found.message};
    }
    const OrderRow& row = found.value.row;
    if (row.state != OrderState::Open) {
        return StoreFailure(StoreOutcome::OrderNotOpen,
                            "order " + order + " is " + OrderStateName(row.state));
    }
    if (row.verified + row.inFlight >= row.quantity) {
        return StoreFailure(StoreOutcome::OrderFull,
                            "order " + order + " has all its modules verified or in flight");
    }
    return empty;
}

std::vector<StoreResult<Reservation>> ReserveForAll(StationStore& store,
                                                    const std::vector<ReservationRequest>& group) {
    const StoreResult<std::vector<Reservation>> held = store.ReserveMany(group);
    std::vector<StoreResult<Reservation>> results;
    std::optional<StoreStatus> shortfall;
    for (std::size_t i = 0; i < group.size(); ++i) {
        if (!held.Ok()) {
            results.emplace_back(StoreStatus{held.outcome, held.message});
        } else if (i < held.value.size()) {
            results.emplace_back(held.value[i]);
        } else {
            if (!shortfall) {
                shortfall = Shortfall(store, group[i].order);
            }
            results.emplace_back(*shortfall);
        }
    }
    return results;
}

}  // namespace

PoolMacSource::PoolMacSource(StationStore& store, std::string station, std::string order)
    : m_store(store),
      m_station(std::move(station)),
      m_order(std::move(order)),
      m_reservations([&store](const std::vector<ReservationRequest>& group) {
          return ReserveForAll(store, group);
      }) {}

MacTake PoolMacSource::Take(const std::string& port, const MacAddress& /*current*/) {
    StoreResult<Reservation> held = m_reservations.Done({m_station, port, m_order});
    const auto waitEnds = std::chrono::steady_clock::now() + kOrderFullWaitLimit;
    while (held.outcome == StoreOutcome::OrderFull && std::chrono::steady_clock::now() < waitEnds) {
        std::this_thread::sleep_for(kOrderFullRetry);
        held = m_reservations.Done({m_station, port, m_order});
    }
    switch (held.outcome) {
        case StoreOutcome::PoolEmpty:
            return {std::nullopt, ModuleOutcome::PoolEmpty, held.message};
        case StoreOutcome::OrderNotOpen:
            return {std::nullopt, ModuleOutcome::OrderComplete, held.message};
        case StoreOutcome::OrderFull:
            return {std::nullopt, ModuleOutcome::OrderFull, held.message};
        default:
            break;
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
