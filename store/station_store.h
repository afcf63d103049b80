#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "store/mac_number.h"
#include "store/order_row.h"
#include "store/pool_status.h"
#include "store/production_record.h"
#include "store/programmed_mac.h"
#include "store/quarantine_report.h"
#include "store/record_query.h"
#include "store/reservation.h"
#include "store/shift_figures.h"
#include "store/station_row.h"
#include "store/store_outcome.h"

// The production record and the MAC pool of one station or of a line of stations.
//
// A MAC goes out in two phases: Reserve commits the hold (station, port, time) before anything
// is written to a module; the attempt then ends it together with its record: MarkVerified when
// the module holds the frame, KeepUsed when it took the frame but read back wrong, HoldSuspect
// when nobody can tell whether it took it, ReturnToPool only when the frame never went out or
// the module was read back holding its previous block. Each step is committed when it returns
// Done; on any other outcome nothing changed. Allocation is atomic across processes and
// stations: no MAC is ever handed out twice.
//
// MACs outside the pool (a start MAC, a MAC a person gives) are held the same way before a
// module is written (ReserveOutsidePool), so a MAC once sent is known to the store for good.
//
// No operation throws. A store is used by one thread at a time.
class StationStore {
  public:
    virtual ~StationStore() = default;

    // Adds the `count` MACs from `start` on, for the work order `order` alone when one is named
    // (OrderUnknown when there is none of that name). Refuses an empty range, one past the last
    // MAC address, and one that overlaps a range already in the pool.
    virtual StoreStatus AddRange(MacNumber start, std::uint64_t count,
                                 const std::string& order = {}) = 0;
    virtual StoreResult<PoolStatus> Status() = 0;
    // Gives a quarantined or suspect MAC back to the pool, once a person has checked the module.
    virtual StoreStatus Release(MacNumber mac) = 0;
    virtual StoreResult<MacState> StateOf(MacNumber mac) = 0;

    // Holds the lowest free MAC for `request` (returned MACs first) or ends with PoolEmpty.
    // For a request of a work order the MAC comes from the order's own ranges, or from those of
    // no order when it has none, and only while the order is open and its verified modules plus
    // the MACs in flight for it (reserved, written, suspect or quarantined: a module may hold
    // them) stay under its quantity; the count and the hold are one atomic step, so stations
    // never overshoot. Otherwise it ends with OrderNotOpen, OrderFull or OrderUnknown.
    virtual StoreResult<Reservation> Reserve(const ReservationRequest& request) = 0;
    // Holds a MAC for each request in turn, all in one transaction that waits for the disk
    // once: the reservations, in the order of the requests, end where the pool or the order ran
    // out (fewer than asked, none included, is no failure).
    virtual StoreResult<std::vector<Reservation>> ReserveMany(
        const std::vector<ReservationRequest>& requests) = 0;
    // Reserved -> Written.
    virtual StoreStatus MarkWritten(std::int64_t reservationId) = 0;
    // Reserved or Written -> Verified, committed together with the record. The verification
    // that brings a work order to its quantity makes it complete in the same transaction.
    virtual StoreStatus MarkVerified(std::int64_t reservationId,
                                     const ProductionRecord& record) = 0;
    // Reserved or Written -> Failed (kept used), committed together with the record.
    virtual StoreStatus KeepUsed(std::int64_t reservationId, const ProductionRecord& record) = 0;
    // Reserved or Written -> Suspect: a module may hold the MAC, nobody knows; held out like a
    // quarantined MAC, with `reason`, until a person releases it. Committed with the record.
    virtual StoreStatus HoldSuspect(std::int64_t reservationId, const std::string& reason,
                                    const ProductionRecord& record) = 0;
    // Reserved -> Free, committed together with the record. A MAC marked written may sit in a
    // module already and never comes back this way.
    virtual StoreStatus ReturnToPool(std::int64_t reservationId,
                                     const ProductionRecord& record) = 0;

    // Holds `mac`, a MAC outside every pool range, for one module before it is written.
    // Refused with MacInPool when a range holds it, and with MacTaken when a reservation or an
    // "ok" record names it already, unless `moduleHoldsIt` (the same module written again).
    virtual StoreResult<Reservation> ReserveOutsidePool(MacNumber mac,
                                                        const ReservationRequest& request,
                                                        bool moduleHoldsIt) = 0;
    // Ends such a hold with the attempt's record. `givenUp`: no frame with the MAC went out,
    // or the module was read back holding its previous block, so the MAC may be used again;
    // otherwise it stays known as sent.
    virtual StoreStatus EndOutsidePool(std::int64_t reservationId, bool givenUp,
                                       const ProductionRecord& record) = 0;
    // The highest MAC outside the pool ranges that a module was ever given or about to be
    // given; nothing when there is none.
    virtual StoreResult<std::optional<MacNumber>> LastMacSentOutsidePool() = 0;
    // Whether a module holding `mac` was programmed here: the latest "ok" record that sent it,
    // else the pool's verified MAC. Nothing when neither knows it.
    virtual StoreResult<std::optional<ProgrammedMac>> FindProgrammed(MacNumber mac) = 0;

    // Quarantines the reservations of `station` made on this host whose process has gone
    // (ended or killed before it finished); those of processes still running are left alone.
    // Reservations under the station's name held on other hosts are reported, never taken:
    // this host cannot tell whether they still run.
    virtual StoreResult<QuarantineReport> QuarantineUnfinished(const std::string& station) = 0;

    // Runs `steps` (calls of this store's operations) in one transaction whose commit need not
    // reach the disk at once, as the steps that end an attempt would each alone: one commit for
    // the ends of many modules. Each step still succeeds or fails on its own. Not for
    // reservations, which must each reach the disk before their module is written. Done when
    // the whole was committed.
    virtual StoreStatus Together(const std::function<void(StationStore&)>& steps) = 0;

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
    // Writes the row of `row.station`, replacing the one it had (one row per station name).
    virtual StoreStatus KeepStationRow(const StationRow& row) = 0;

    // The work orders, newest first, with their counts.
    virtual StoreResult<std::vector<OrderRow>> Orders() = 0;
    // Adds an open order. Refused with OrderInvalid (a name with odd characters, a quantity
    // below 1, a block that is not 518 bytes) or OrderExists.
    virtual StoreStatus CreateOrder(const NewOrder& order) = 0;
    // The order named, with its block and ranges; OrderUnknown when there is none.
    virtual StoreResult<OrderDetail> Order(const std::string& name) = 0;
    // Closes the order: no module is programmed for it any more. OrderUnknown when there is
    // none of that name.
    virtual StoreStatus CloseOrder(const std::string& name) = 0;

    // The schema version of the open database.
    [[nodiscard]] virtual int SchemaVersion() const = 0;
    // Where the store lives, as people may see it (see ShownStoreLocation).
    [[nodiscard]] virtual std::string Location() const = 0;
};
