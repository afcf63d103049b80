#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "store/mac_number.h"
#include "store/order_row.h"
#include "store/pool_status.h"
#include "store/production_record.h"
#include "store/record_query.h"
#include "store/reservation.h"
#include "store/shift_figures.h"
#include "store/station_row.h"
#include "store/store_outcome.h"

// The production record and the MAC pool of one station or of a line of stations.
//
// A MAC goes out in two phases: Reserve commits the hold (station, port, time) before anything
// is written to a module; MarkWritten follows the module's acknowledgement; the read-back ends
// it with MarkVerified, or with KeepUsed when the read-back failed. A write the module never
// acknowledged gives its MAC back with ReturnToPool. Each step is committed when it returns
// Done; on any other outcome nothing changed. Allocation is atomic across processes and
// stations: no MAC is ever handed out twice.
//
// No operation throws. A store is used by one thread at a time.
class StationStore {
  public:
    virtual ~StationStore() = default;

    // Adds the `count` MACs from `start` on. Refuses an empty range, one past the last MAC
    // address, and one that overlaps a range already in the pool.
    virtual StoreStatus AddRange(MacNumber start, std::uint64_t count) = 0;
    virtual StoreResult<PoolStatus> Status() = 0;
    // Gives a quarantined MAC back to the pool, once a person has checked the module.
    virtual StoreStatus Release(MacNumber mac) = 0;
    virtual StoreResult<MacState> StateOf(MacNumber mac) = 0;

    // Holds the lowest free MAC for `request` (returned MACs first) or ends with PoolEmpty.
    virtual StoreResult<Reservation> Reserve(const ReservationRequest& request) = 0;
    // Reserved -> Written.
    virtual StoreStatus MarkWritten(std::int64_t reservationId) = 0;
    // Written -> Verified, committed together with the record.
    virtual StoreStatus MarkVerified(std::int64_t reservationId,
                                     const ProductionRecord& record) = 0;
    // Reserved or Written -> Failed (kept used), committed together with the record.
    virtual StoreStatus KeepUsed(std::int64_t reservationId, const ProductionRecord& record) = 0;
    // Reserved -> Free, committed together with the record. A MAC marked written may sit in a
    // module already and never comes back this way.
    virtual StoreStatus ReturnToPool(std::int64_t reservationId,
                                     const ProductionRecord& record) = 0;

    // Quarantines the reservations of `station` that are still reserved or written and whose
    // process has gone (ended or killed before it finished). Reservations of processes still
    // running on this host are left alone. Returns the MACs quarantined, lowest first.
    virtual StoreResult<std::vector<MacNumber>> QuarantineUnfinished(
        const std::string& station) = 0;

    // A record of an attempt that holds no reservation (MACs not from the pool, or a module
    // that failed before a MAC was reserved).
    virtual StoreStatus AddRecord(const ProductionRecord& record) = 0;
    // The records whose start is at or after `since` (all without it), oldest first.
    virtual StoreResult<std::vector<ProductionRecord>> Records(
        std::optional<std::int64_t> since) = 0;

    // The records that `query` asks for, newest first, at most query.limit of them.
    virtual StoreResult<std::vector<StoredRecord>> FindRecords(const RecordQuery& query) = 0;
    // The ids of the records stored after `afterId`, lowest first, at most `limit` of them.
    virtual StoreResult<std::vector<std::int64_t>> RecordIdsAfter(std::int64_t afterId,
                                                                  std::int64_t limit) = 0;
    // The line's figures over one shift: rate, yield, failure reasons, each station's share.
    virtual StoreResult<ShiftFigures> Shift(const ShiftQuery& query) = 0;
    // The rows the production programs keep of themselves, by station name.
    virtual StoreResult<std::vector<StationRow>> Stations() = 0;
    // The work orders, newest first.
    virtual StoreResult<std::vector<OrderRow>> Orders() = 0;

    // The schema version of the open database.
    [[nodiscard]] virtual int SchemaVersion() const = 0;
};
