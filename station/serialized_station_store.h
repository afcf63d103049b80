#pragma once

#include <memory>
#include <mutex>

#include "store/station_store.h"

// A station store for many threads: each call holds the store for itself, so the programming
// threads of a batch and the window share one store, which serves one thread at a time.
class SerializedStationStore : public StationStore {
  public:
    explicit SerializedStationStore(std::unique_ptr<StationStore> store)
        : m_store(std::move(store)) {}

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
    // `steps` get the store itself, held for them all.
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
    [[nodiscard]] int SchemaVersion() const override;
    [[nodiscard]] std::string Location() const override;

  private:
    mutable std::mutex m_mutex;
    std::unique_ptr<StationStore> m_store;
};
