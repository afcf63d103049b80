#pragma once

#include <string>

#include "station/grouped_store_work.h"
#include "station/mac_source.h"
#include "store/station_store.h"

// MACs from the store's pool. Take commits a reservation for this station and port before the
// module is written (grouped with the other modules asking at the same time); Settle ends it
// with the module's record: verified, kept used, held out as suspect, or back in the pool only
// when no frame went out or the module kept its old block.
//
// An empty pool refuses the module at hand only: MACs added meanwhile are taken by the next
// one. The store must be safe for many threads.
class PoolMacSource : public MacSource {
  public:
    // `order`: the work order the modules are programmed for (empty: none).
    PoolMacSource(StationStore& store, std::string station, std::string order = {});

    void Expect() override { m_reservations.Expect(); }
    void Forgo() override { m_reservations.Forgo(); }

    [[nodiscard]] MacTake Take(const std::string& port, const MacAddress& current) override;
    StoreStatus Settle(StationStore& store, const MacGrant& grant, MacEnd end,
                       const ProductionRecord& record, const std::string& reason) override;

  private:
    StationStore& m_store;
    const std::string m_station;
    const std::string m_order;
    // The reservations of modules read together, in one transaction that waits for the disk
    // once.
    GroupedStoreWork<ReservationRequest, StoreResult<Reservation>> m_reservations;
};
