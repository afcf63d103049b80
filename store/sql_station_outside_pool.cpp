// The part of SqlStationStore that knows MACs outside the pool and programmed modules.
#include <array>

#include "store/iso_time.h"
#include "store/sql_station_store.h"
#include "store/sql_values.h"

namespace {

// Whether any pool range holds the MAC bound as $1.
constexpr const char* kInAPoolRange =
    "SELECT 1 FROM pool_range WHERE start_mac <= $1 AND start_mac + mac_count > $1";

}  // namespace

StoreStatus SqlStationStore::RefuseTakenMac(MacNumber mac, bool moduleHoldsIt) {
    const std::array<SqlValue, 1> value{MacValue(mac)};
    std::vector<SqlRow> rows;
    if (!m_database->Run(kInAPoolRange, value, &rows)) {
        return Failure("cannot hold the MAC");
    }
    if (!rows.empty()) {
        return StoreFailure(StoreOutcome::MacInPool, "the MAC belongs to the pool");
    }
    if (moduleHoldsIt) {
        return {};
    }
    if (!m_database->Run("SELECT station FROM reservation WHERE mac = $1 "
                         "UNION ALL SELECT station FROM production_record "
                         "WHERE mac_sent = $1 AND outcome = 'ok'",
                         value, &rows)) {
        return Failure("cannot hold the MAC");
    }
    if (!rows.empty()) {
        return StoreFailure(StoreOutcome::MacTaken,
                            "the MAC was given to a module before, by station " +
                                rows.front().front().value_or("?"));
    }
    return {};
}

StoreResult<Reservation> SqlStationStore::ReserveOutsidePool(MacNumber mac,
                                                             const ReservationRequest& request,
                                                             bool moduleHoldsIt) {
    SqlTransaction transaction(*m_database, m_dialect.beginWrite);
    if (!transaction.IsOpen() || (*m_dialect.serialiseOutsidePool != '\0' &&
                                  !m_database->RunScript(m_dialect.serialiseOutsidePool))) {
        return Failure("cannot hold the MAC");
    }
    if (StoreStatus refused = RefuseTakenMac(mac, moduleHoldsIt); !refused.Ok()) {
        return refused;
    }
    const StoreResult<std::int64_t> id = InsertReservation(mac, request, StoreClockNow());
    if (!id.Ok()) {
        return StoreStatus{id.outcome, id.message};
    }
    if (!transaction.Commit()) {
        return Failure("cannot hold the MAC");
    }
    return Reservation{id.value, mac};
}

StoreStatus SqlStationStore::EndOutsidePool(std::int64_t reservationId, bool givenUp,
                                            const ProductionRecord& record) {
    SqlTransaction transaction(*m_database, m_dialect.beginRelaxed, m_dialect.endRelaxed);
    std::vector<SqlRow> ended;
    const std::array<SqlValue, 1> id{reservationId};
    // A reservation of the pool is not ended here: pool_mac names it.
    const char* sql = givenUp ? "DELETE FROM reservation WHERE id = $1 AND NOT EXISTS "
                                "(SELECT 1 FROM pool_mac WHERE reservation_id = $1) RETURNING id"
                              : "SELECT id FROM reservation WHERE id = $1 AND NOT EXISTS "
                                "(SELECT 1 FROM pool_mac WHERE reservation_id = $1)";
    if (!transaction.IsOpen() || !m_database->Run(sql, id, &ended)) {
        return Failure("cannot end the MAC's hold");
    }
    if (ended.empty()) {
        return StoreFailure(StoreOutcome::ReservationClosed,
                            "cannot end the MAC's hold: it is not open");
    }
    if (!InsertRecord(record) || !transaction.Commit()) {
        return Failure("cannot end the MAC's hold");
    }
    return {};
}

StoreResult<std::optional<MacNumber>> SqlStationStore::LastMacSentOutsidePool() {
    std::vector<SqlRow> rows;
    if (!m_database->Run("SELECT MAX(sent.mac) FROM (SELECT mac FROM reservation UNION ALL "
                         "SELECT mac_sent FROM production_record WHERE mac_sent IS NOT NULL) "
                         "AS sent WHERE NOT EXISTS (SELECT 1 FROM pool_range WHERE start_mac "
                         "<= sent.mac AND start_mac + mac_count > sent.mac)",
                         {}, &rows)) {
        return Failure("cannot look for the last MAC sent");
    }
    if (rows.size() != 1 || rows[0].size() != 1) {
        return Unexpected("cannot look for the last MAC sent");
    }
    std::int64_t mac = 0;
    if (!rows[0][0]) {
        return std::optional<MacNumber>();
    }
    if (!ParseInt(rows[0][0], mac)) {
        return Unexpected("cannot look for the last MAC sent");
    }
    return std::optional<MacNumber>(static_cast<MacNumber>(mac));
}

StoreResult<std::optional<ProgrammedMac>> SqlStationStore::FindProgrammed(MacNumber mac) {
    const std::array<SqlValue, 1> value{MacValue(mac)};
    std::vector<SqlRow> rows;
    if (!m_database->Run("SELECT station, port, time_end FROM production_record "
                         "WHERE mac_sent = $1 AND outcome = 'ok' "
                         "ORDER BY time_end DESC, id DESC LIMIT 1",
                         value, &rows) ||
        (rows.empty() &&
         !m_database->Run("SELECT r.station, r.port, m.changed_at FROM pool_mac m JOIN "
                          "reservation r ON r.id = m.reservation_id "
                          "WHERE m.mac = $1 AND m.state = 'verified'",
                          value, &rows))) {
        return Failure("cannot look the MAC up");
    }
    if (rows.empty()) {
        return std::optional<ProgrammedMac>();
    }
    ProgrammedMac programmed{mac, rows[0][0].value_or(""), rows[0][1].value_or(""), 0};
    if (rows[0].size() != 3 || !ParseInt(rows[0][2], programmed.when)) {
        return Unexpected("cannot look the MAC up");
    }
    return std::optional<ProgrammedMac>(programmed);
}
