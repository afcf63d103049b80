#include "station/serialized_station_store.h"

using Lock = std::lock_guard<std::mutex>;

StoreStatus SerializedStationStore::AddRange(MacNumber start, std::uint64_t count,
                                             const std::string& order) {
    const Lock lock(m_mutex);
    return m_store->AddRange(start, count, order);
}

StoreResult<PoolStatus> SerializedStationStore::Status() {
    const Lock lock(m_mutex);
    return m_store->Status();
}

StoreStatus SerializedStationStore::Release(MacNumber mac) {
    const Lock lock(m_mutex);
    return m_store->Release(mac);
}

StoreResult<MacState> SerializedStationStore::StateOf(MacNumber mac) {
    const Lock lock(m_mutex);
    return m_store->StateOf(mac);
}

StoreResult<Reservation> SerializedStationStore::Reserve(const ReservationRequest& request) {
    const Lock lock(m_mutex);
    return m_store->Reserve(request);
}

StoreResult<std::vector<Reservation>> SerializedStationStore::ReserveMany(
    const std::vector<ReservationRequest>& requests) {
    const Lock lock(m_mutex);
    return m_store->ReserveMany(requests);
}

StoreStatus SerializedStationStore::MarkWritten(std::int64_t reservationId) {
    const Lock lock(m_mutex);
    return m_store->MarkWritten(reservationId);
}

StoreStatus SerializedStationStore::MarkVerified(std::int64_t reservationId,
                                                 const ProductionRecord& record) {
    const Lock lock(m_mutex);
    return m_store->MarkVerified(reservationId, record);
}

StoreStatus SerializedStationStore::KeepUsed(std::int64_t reservationId,
                                             const ProductionRecord& record) {
    const Lock lock(m_mutex);
    return m_store->KeepUsed(reservationId, record);
}

StoreStatus SerializedStationStore::HoldSuspect(std::int64_t reservationId,
                                                const std::string& reason,
                                                const ProductionRecord& record) {
    const Lock lock(m_mutex);
    return m_store->HoldSuspect(reservationId, reason, record);
}

StoreStatus SerializedStationStore::ReturnToPool(std::int64_t reservationId,
                                                 const ProductionRecord& record) {
    const Lock lock(m_mutex);
    return m_store->ReturnToPool(reservationId, record);
}

StoreResult<Reservation> SerializedStationStore::ReserveOutsidePool(
    MacNumber mac, const ReservationRequest& request, bool moduleHoldsIt) {
    const Lock lock(m_mutex);
    return m_store->ReserveOutsidePool(mac, request, moduleHoldsIt);
}

StoreStatus SerializedStationStore::EndOutsidePool(std::int64_t reservationId, bool givenUp,
                                                   const ProductionRecord& record) {
    const Lock lock(m_mutex);
    return m_store->EndOutsidePool(reservationId, givenUp, record);
}

StoreResult<std::optional<MacNumber>> SerializedStationStore::LastMacSentOutsidePool() {
    const Lock lock(m_mutex);
    return m_store->LastMacSentOutsidePool();
}

StoreResult<std::optional<ProgrammedMac>> SerializedStationStore::FindProgrammed(MacNumber mac) {
    const Lock lock(m_mutex);
    return m_store->FindProgrammed(mac);
}

StoreResult<QuarantineReport> SerializedStationStore::QuarantineUnfinished(
    const std::string& station) {
    const Lock lock(m_mutex);
    return m_store->QuarantineUnfinished(station);
}

StoreStatus SerializedStationStore::Together(const std::function<void(StationStore&)>& steps) {
    const Lock lock(m_mutex);
    return m_store->Together(steps);
}

StoreStatus SerializedStationStore::AddRecord(const ProductionRecord& record) {
    const Lock lock(m_mutex);
    return m_store->AddRecord(record);
}

StoreResult<std::vector<ProductionRecord>> SerializedStationStore::Records(
    std::optional<std::int64_t> since) {
    const Lock lock(m_mutex);
    return m_store->Records(since);
}

StoreResult<std::vector<StoredRecord>> SerializedStationStore::FindRecords(
    const RecordQuery& query) {
    const Lock lock(m_mutex);
    return m_store->FindRecords(query);
}

StoreResult<std::vector<std::int64_t>> SerializedStationStore::RecordIdsAfter(std::int64_t afterId,
                                                                              std::int64_t limit) {
    const Lock lock(m_mutex);
    return m_store->RecordIdsAfter(afterId, limit);
}

StoreResult<ShiftFigures> SerializedStationStore::Shift(const ShiftQuery& query) {
    const Lock lock(m_mutex);
    return m_store->Shift(query);
}

StoreResult<std::vector<StationRow>> SerializedStationStore::Stations() {
    const Lock lock(m_mutex);
    return m_store->Stations();
}

StoreStatus SerializedStationStore::KeepStationRow(const StationRow& row) {
    const Lock lock(m_mutex);
    return m_store->KeepStationRow(row);
}

StoreResult<std::vector<OrderRow>> SerializedStationStore::Orders() {
    const Lock lock(m_mutex);
    return m_store->Orders();
}

StoreStatus SerializedStationStore::CreateOrder(const NewOrder& order) {
    const Lock lock(m_mutex);
    return m_store->CreateOrder(order);
}

StoreResult<OrderDetail> SerializedStationStore::Order(const std::string& name) {
    const Lock lock(m_mutex);
    return m_store->Order(name);
}

StoreStatus SerializedStationStore::CloseOrder(const std::string& name) {
    const Lock lock(m_mutex);
    return m_store->CloseOrder(name);
}

int SerializedStationStore::SchemaVersion() const {
    const Lock lock(m_mutex);
    return m_store->SchemaVersion();
}

std::string SerializedStationStore::Location() const {
    const Lock lock(m_mutex);
    return m_store->Location();
}
