#pragma once

#include <memory>
#include <string>

#include "store/sql_database.h"
#include "store/sql_dialect.h"
#include "store/station_store.h"

// The store over one SQL connection; the SQL is written once and the dialect supplies what
// differs between the backends. SqliteStationStore and PostgresStationStore open it.
class SqlStationStore : public StationStore {
  public:
    // `where` names the database in messages and Location() (sqlite:PATH, or the server as
    // ShownStoreLocation gives it).
    SqlStationStore(std::unique_ptr<SqlDatabase> database, const SqlDialect& dialect,
                    std::string where);

    // Creates the schema or upgrades it in place to `version`; refuses a newer one.
    StoreStatus PrepareSchema(int version);
    // Reads the schema version without changing anything; refuses any but the current one.
    StoreStatus CheckSchema();

    StoreStatus AddRange(MacNumber start, std::uint64_t count,
                         const std::string& order = {}) override;
    StoreResult<PoolStatus> Status() override;
    StoreStatus Release(MacNumber mac) override;
    StoreResult<MacState> StateOf(MacNumber mac) override;

    StoreResult<Reservation> Reserve(const ReservationRequest& request) override;
    StoreResult<std::vector<Reservation>> ReserveMany(
        const std::vector<ReservationRequest>& requests) override;
    StoreStatus MarkWritten(std::int64_t reservationId) override;
    StoreStatus MarkVerified(std::int64_t reservationId, const ProductionRecord& record) override;
    StoreStatus KeepUsed(std::int64_t reservationId, const ProductionRecord& record) override;
    StoreStatus HoldSuspect(std::int64_t reservationId, const std::string& reason,
                            const ProductionRecord& record) override;
    StoreStatus ReturnToPool(std::int64_t reservationId, const ProductionRecord& record) override;

    StoreResult<Reservation> ReserveOutsidePool(MacNumber mac, const ReservationRequest& request,
                                                bool moduleHoldsIt) override;
    StoreStatus EndOutsidePool(std::int64_t reservationId, bool givenUp,
                               const ProductionRecord& record) override;
    StoreResult<std::optional<MacNumber>> LastMacSentOutsidePool() override;
    StoreResult<std::optional<ProgrammedMac>> FindProgrammed(MacNumber mac) override;

    StoreResult<QuarantineReport> QuarantineUnfinished(const std::string& station) override;
    StoreStatus Together(const std::function<void(StationStore&)>& steps) override;

    StoreStatus AddRecord(const ProductionRecord& record) override;
    StoreResult<std::vector<ProductionRecord>> Records(std::optional<std::int64_t> since) override;

    StoreResult<std::vector<StoredRecord>> FindRecords(const RecordQuery& query) override;
    StoreResult<std::vector<std::int64_t>> RecordIdsAfter(std::int64_t afterId,
                                                          std::int64_t limit) override;
    StoreResult<ShiftFigures> Shift(const ShiftQuery& query) override;
    StoreResult<std::vector<StationRow>> Stations() override;
    StoreStatus KeepStationRow(const StationRow& row) override;
    StoreResult<std::vector<OrderRow>> Orders() override;
    StoreStatus CreateOrder(const NewOrder& order) override;
    StoreResult<OrderDetail> Order(const std::string& name) override;
    StoreStatus CloseOrder(const std::string& name) override;

    [[nodiscard]] int SchemaVersion() const override { return m_schemaVersion; }
    [[nodiscard]] std::string Location() const override { return m_where; }

  private:
    struct Step;
    StoreStatus Advance(std::int64_t reservationId, const Step& step,
                        const ProductionRecord* record, const std::string& reason = {});
    // Inside an open transaction: holds the next free MAC for `request`; nothing when the pool
    // is empty.
    StoreResult<std::optional<Reservation>> ReserveOne(const ReservationRequest& request);
    StoreResult<std::optional<MacNumber>> TakeFreeMac(std::int64_t now, const std::string& owner);
    // Inside an open transaction: locks the order's row and tells whether one more MAC may go
    // out for it (Done), and from the ranges of which order (`owner`: the order's own, or ""
    // for the ranges of no order).
    StoreStatus OrderRoom(const std::string& order, std::string& owner);
    // Inside the transaction that verifies the reservation's MAC: locks the row of its order,
    // if it has one, before the MAC's state changes, and afterwards counts the module verified,
    // completing the order at its quantity.
    StoreResult<std::string> LockOrderOf(std::int64_t reservationId);
    bool CountVerified(const std::string& order);
    // The orders named by `name` (all when empty), with their counts.
    StoreResult<std::vector<OrderRow>> ReadOrders(const std::string& name);
    StoreResult<std::int64_t> InsertReservation(MacNumber mac, const ReservationRequest& request,
                                                std::int64_t now);
    StoreStatus RefuseTakenMac(MacNumber mac, bool moduleHoldsIt);
    StoreResult<int> ReadSchemaVersion();
    // The refusal of a database that a newer program made.
    [[nodiscard]] StoreStatus SchemaTooNewFailure(int found) const;
    bool FillMacSentOfOldRecords();
    bool InsertRecord(const ProductionRecord& record);
    bool ReadShiftStations(const ShiftQuery& query, ShiftFigures& figures);
    StoreStatus Failure(const std::string& what);
    StoreStatus Unexpected(const std::string& what);

    std::unique_ptr<SqlDatabase> m_database;
    const SqlDialect& m_dialect;
    std::string m_where;
    int m_schemaVersion = 0;
};
