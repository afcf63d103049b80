#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "station/mac_source.h"
#include "store/production_record.h"
#include "store/station_store.h"

// MACs from the store's pool, in two phases: Take commits a reservation for this station and
// port before the module is touched, Written marks it written once the module acknowledged,
// and Settle ends it together with the module's record: kept used (verified, or failed on the
// read-back) or back in the pool when the module never took the frame.
//
// The first store failure, and a pool that ran out, stop the source: every later Take gives
// nothing without asking the store, so no module is touched once the store is not to be
// trusted. Stopped() tells why. Safe to use from several threads; the store is used by one
// at a time, through this source only, while it lives.
class PoolMacSource : public MacSource {
  public:
    PoolMacSource(StationStore& store, std::string station);

    [[nodiscard]] std::optional<MacAddress> Take(const std::string& port) override;
    // Remembered: the MAC goes back to the pool with the record, in Settle.
    void GiveBack(const MacAddress& mac) override;
    void Written(const MacAddress& mac, bool verified) override;

    // Ends the reservation of `mac` with `record`: verified when the module succeeded, kept
    // used when it acknowledged but failed, returned to the pool when it was given back.
    StoreStatus Settle(const MacAddress& mac, bool succeeded, const ProductionRecord& record);
    // A record of an attempt that holds no reservation.
    StoreStatus AddRecord(const ProductionRecord& record);

    // Why Take gives nothing any more (PoolEmpty or a failure of the store); nothing while
    // the source still hands out MACs.
    [[nodiscard]] std::optional<StoreStatus> Stopped() const;

  private:
    struct Hold {
        std::int64_t reservationId = 0;
        bool written = false;
        bool givenBack = false;
    };

    StoreStatus Checked(StoreStatus status);

    StationStore& m_store;
    const std::string m_station;
    mutable std::mutex m_mutex;
    std::map<std::uint64_t, Hold> m_holds;  // by MAC number
    std::optional<StoreStatus> m_stopped;
};
