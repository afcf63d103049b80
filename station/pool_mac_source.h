#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "station/locked_station_store.h"
#include "station/mac_source.h"
#include "store/production_record.h"

// MACs from the pool of a station store. Take commits a reservation for the station and the
// port before the module is touched; Written marks it written once the module acknowledged.
// The hold ends with the attempt's record (Close): verified when the module was programmed,
// kept used when it acknowledged but failed afterwards, back to the pool when it never took
// the frame. A MAC given back is free for the next module only once its hold is closed.
class PoolMacSource : public MacSource {
  public:
    PoolMacSource(LockedStationStore& store, std::string station);

    [[nodiscard]] std::optional<MacAddress> Take(const std::string& port) override;
    void GiveBack(const MacAddress& mac) override;
    void Written(const MacAddress& mac, bool verified) override;

    // Ends the hold on `mac` with `record` of its attempt (outcome "ok" means programmed).
    // false, with the store's message in `failure`, when the store refused it.
    [[nodiscard]] bool Close(const MacAddress& mac, const ProductionRecord& record,
                             std::string& failure);

    // Why the last Take gave nothing: the store's message, empty when the pool ran out.
    [[nodiscard]] std::string LastTakeFailure() const;

  private:
    enum class HoldStep { Reserved, Written, GivenBack };
    struct Hold {
        std::int64_t reservationId = 0;
        HoldStep step = HoldStep::Reserved;
    };

    LockedStationStore& m_store;
    const std::string m_station;
    mutable std::mutex m_mutex;
    std::map<std::uint64_t, Hold> m_holds;
    std::string m_lastTakeFailure;
};
