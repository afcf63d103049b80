#pragma once

#include <cstdint>
#include <functional>
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
//
// A module plugged in again that already holds a verified MAC of the pool keeps it, so
// programming it again does not use up a number: no reservation is made for it, and its record
// is kept on its own.
class PoolMacSource : public MacSource {
  public:
    // The MAC the module on a port holds now, or nothing when it cannot be read.
    using CurrentMac = std::function<std::optional<MacAddress>(const std::string& port)>;

    // `currentMac` may be empty: every module then gets a new MAC.
    PoolMacSource(StationStore& store, std::string station, CurrentMac currentMac = {});

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
        std::int64_t reservationId = 0;  // 0: a verified MAC the module kept
        bool written = false;
        bool givenBack = false;
    };

    [[nodiscard]] bool KeepsItsMac(const MacAddress& mac);
    StoreStatus Checked(StoreStatus status);

    StationStore& m_store;
    const std::string m_station;
    const CurrentMac m_currentMac;
    mutable std::mutex m_mutex;
    std::map<std::uint64_t, Hold> m_holds;  // by MAC number
    std::optional<StoreStatus> m_stopped;
};
