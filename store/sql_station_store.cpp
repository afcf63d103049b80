#include "store/sql_station_store.h"

#include <array>

#include "store/holder_process.h"
#include "store/iso_time.h"
#include "store/sql_values.h"
#include "store/station_schema.h"

namespace {

// Fresh MACs are taken by a statement that may find its locked range row changed under it
// and then take nothing; a few new tries settle that.
constexpr int kReserveAttempts = 4;

const std::array<std::pair<const char*, MacState>, 7> kStateWords{{
    {"free", MacState::Free},
    {"reserved", MacState::Reserved},
    {"written", MacState::Written},
    {"verified", MacState::Verified},
    {"failed", MacState::Failed},
    {"quarantined", MacState::Quarantined},
    {"suspect", MacState::Suspect},
}};

std::optional<MacState> StateOfWord(const std::optional<std::string>& word) {
    for (const auto& [text, state] : kStateWords) {
        if (word == text) {
            return state;
        }
    }
    return std::nullopt;
}

std::string UnfinishedReason(const std::string& station, const HolderProcess& holder) {
    return "left unfinished by station " + station + " (host " + holder.host + ", process " +
           std::to_string(holder.pid) + ")";
}

}  // namespace

// One step of a reservation: the states it may start from and the state it ends in.
struct SqlStationStore::Step {
    const char* name;
    const char* fromStates;  // an SQL list of state words
    const char* toState;
    bool countsForOrder = false;  // the step may bring the reservation's order to its quantity
};

SqlStationStore::SqlStationStore(std::unique_ptr<SqlDatabase> database, const SqlDialect& dialect,
                                 std::string where)
    : m_database(std::move(database)), m_dialect(dialect), m_where(std::move(where)) {}

StoreStatus SqlStationStore::Failure(const std::string& what) {
    return StoreFailure(StoreOutcome::DatabaseFailed,
                        what + " in " + m_where + ": " + m_database->LastError());
}

StoreStatus SqlStationStore::Unexpected(const std::string& what) {
    return StoreFailure(StoreOutcome::DatabaseFailed,
                        what + " in " + m_where + ": unexpected contents");
}

StoreResult<int> SqlStationStore::ReadSchemaVersion() {
    std::vector<SqlRow> rows;
    const std::array<SqlValue, 1> table{std::string("schema_version")};
    if (!m_database->Run(m_dialect.tableExists, table, &rows)) {
        return Failure("cannot read the schema version");
    }
    if (rows.empty()) {
        return 0;
    }
    rows.clear();
    std::int64_t version = 0;
    if (!m_database->Run("SELECT version FROM schema_version", {}, &rows)) {
        return Failure("cannot read the schema version");
    }
    if (rows.size() != 1 || rows[0].empty() || !ParseInt(rows[0][0], version) || version < 0) {
        return Unexpected("cannot read the schema version");
    }
    return static_cast<int>(version);
}

StoreStatus SqlStationStore::SchemaTooNewFailure(int found) const {
    return StoreFailure(StoreOutcome::SchemaTooNew, m_where + " has schema version " +
                                                        std::to_string(found) +
                                                        "; this program knows versions up to " +
                                                        std::to_string(kCurrentSchemaVersion));
}

StoreStatus SqlStationStore::PrepareSchema(int version) {
    if (version < 1 || version > kCurrentSchemaVersion) {
        return StoreFailure(StoreOutcome::SchemaTooNew,
                            "no schema version " + std::to_string(version) + " to prepare");
    }
    SqlTransaction transaction(*m_database, m_dialect.beginWrite);
    if (!transaction.IsOpen() || (*m_dialect.serialiseSchemaChange != '\0' &&
                                  !m_database->RunScript(m_dialect.serialiseSchemaChange))) {
        return Failure("cannot open the store");
    }
    const StoreResult<int> found = ReadSchemaVersion();
    if (!found.Ok()) {
        return {found.outcome, found.message};
    }
    if (found.value > kCurrentSchemaVersion) {
        return SchemaTooNewFailure(found.value);
    }
    for (int step = found.value + 1; step <= version; ++step) {
        const std::array<SqlValue, 1> reached{std::int64_t{step}};
        if (!m_database->RunScript(SchemaStep(m_dialect, step)) ||
            (step == 3 && !FillMacSentOfOldRecords()) ||
            !m_database->Run("UPDATE schema_version SET version = $1", reached)) {
            return Failure("cannot bring the schema to version " + std::to_string(step));
        }
    }
    if (!transaction.Commit()) {
        return Failure("cannot open the store");
    }
    m_schemaVersion = std::max(found.value, version);
    return {};
}

StoreStatus SqlStationStore::CheckSchema() {
    const StoreResult<int> found = ReadSchemaVersion();
    if (!found.Ok()) {
        return {found.outcome, found.message};
    }
    if (found.value > kCurrentSchemaVersion) {
        return SchemaTooNewFailure(found.value);
    }
    if (found.value < kCurrentSchemaVersion) {
        return StoreFailure(StoreOutcome::DatabaseFailed,
                            m_where + " has schema version " + std::to_string(found.value) +
                                "; a station of this version brings it to version " +
                                std::to_string(kCurrentSchemaVersion) + " when it next starts");
    }
    m_schemaVersion = found.value;
    return {};
}

StoreStatus SqlStationStore::AddRange(MacNumber start, std::uint64_t count,
                                      const std::string& order) {
    if (count == 0 || start >= kMacNumberLimit || count > kMacNumberLimit - start) {
        return StoreFailure(StoreOutcome::RangeInvalid,
                            "a range needs at least one MAC and must not run past "
                            "FF:FF:FF:FF:FF:FF");
    }
    SqlTransaction transaction(*m_database, m_dialect.beginWrite);
    if (!transaction.IsOpen() || (*m_dialect.serialiseRangeChange != '\0' &&
                                  !m_database->RunScript(m_dialect.serialiseRangeChange))) {
        return Failure("cannot add the range");
    }
    if (!order.empty()) {
        std::vector<SqlRow> found;
        const std::array<SqlValue, 1> name{order};
        if (!m_database->Run("SELECT 1 FROM work_order WHERE name = $1", name, &found)) {
            return Failure("cannot add the range");
        }
        if (found.empty()) {
            return StoreFailure(StoreOutcome::OrderUnknown, "there is no order " + order);
        }
    }
    std::vector<SqlRow> overlapping;
    const std::array<SqlValue, 2> bounds{MacValue(start), MacValue(start + count)};
    if (!m_database->Run("SELECT start_mac FROM pool_range "
                         "WHERE start_mac < $2 AND start_mac + mac_count > $1",
                         bounds, &overlapping)) {
        return Failure("cannot add the range");
    }
    if (!overlapping.empty()) {
        return StoreFailure(StoreOutcome::RangeOverlaps,
                            "the range overlaps a range already in the pool");
    }
    const std::array<SqlValue, 4> range{MacValue(start), MacValue(count), StoreClockNow(), order};
    if (!m_database->Run("INSERT INTO pool_range (start_mac, mac_count, added_at, order_name) "
                         "VALUES ($1, $2, $3, $4)",
                         range) ||
        !transaction.Commit()) {
        return Failure("cannot add the range");
    }
    return {};
}

StoreResult<PoolStatus> SqlStationStore::Status() {
    PoolStatus status;
    std::vector<SqlRow> ranges;
    std::vector<SqlRow> states;
    std::vector<SqlRow> held;
    // One snapshot, so the counts add up to the ranges they were counted in.
    SqlTransaction transaction(*m_database, m_dialect.beginRead);
    if (!transaction.IsOpen() ||
        !m_database->Run("SELECT start_mac, mac_count, next_offset, order_name FROM pool_range "
                         "ORDER BY start_mac",
                         {}, &ranges) ||
        !m_database->Run("SELECT state, COUNT(*) FROM pool_mac GROUP BY state", {}, &states) ||
        !m_database->Run("SELECT mac, state, held_reason, changed_at FROM pool_mac "
                         "WHERE state IN ('quarantined', 'suspect') ORDER BY mac",
                         {}, &held)) {
        return Failure("cannot read the pool");
    }
    for (const SqlRow& row : held) {
        HeldMac& mac = status.held.emplace_back();
        std::int64_t number = 0;
        const std::optional<MacState> state = row.size() == 4 ? StateOfWord(row[1]) : std::nullopt;
        if (!state || !ParseInt(row[0], number) || !ParseInt(row[3], mac.since)) {
            return Unexpected("cannot read the pool");
        }
        mac.mac = static_cast<MacNumber>(number);
        mac.state = *state;
        mac.reason = row[2].value_or("");
    }
    for (const SqlRow& row : ranges) {
        std::int64_t start = 0;
        std::int64_t count = 0;
        std::int64_t taken = 0;
        if (row.size() != 4 || !ParseInt(row[0], start) || !ParseInt(row[1], count) ||
            !ParseInt(row[2], taken)) {
            return Unexpected("cannot read the pool");
        }
        status.ranges.push_back({static_cast<MacNumber>(start), static_cast<std::uint64_t>(count),
                                 row[3].value_or("")});
        status.free += static_cast<std::uint64_t>(count - taken);
    }
    for (const SqlRow& row : states) {
        std::int64_t count = 0;
        if (row.size() != 2 || !row[0] || !ParseInt(row[1], count)) {
            return Unexpected("cannot read the pool");
        }
        const auto n = static_cast<std::uint64_t>(count);
        const std::string& state = *row[0];
        if (state == "free") {
            status.free += n;
        } else if (state == "reserved" || state == "written") {
            status.reserved += n;
        } else if (state == "verified" || state == "failed") {
            status.used += n;
        } else if (state == "quarantined") {
            status.quarantined += n;
        } else if (state == "suspect") {
            status.suspect += n;
        }
    }
    return status;
}

StoreStatus SqlStationStore::Release(MacNumber mac) {
    std::vector<SqlRow> released;
    const std::array<SqlValue, 2> values{MacValue(mac), StoreClockNow()};
    if (!m_database->Run("UPDATE pool_mac SET state = 'free', held_reason = '', changed_at = $2 "
                         "WHERE mac = $1 AND state IN ('quarantined', 'suspect') RETURNING mac",
                         values, &released)) {
        return Failure("cannot release the MAC");
    }
    if (released.empty()) {
        return StoreFailure(StoreOutcome::NotQuarantined,
                            "the MAC is neither quarantined nor suspect");
    }
    return {};
}

StoreResult<MacState> SqlStationStore::StateOf(MacNumber mac) {
    std::vector<SqlRow> rows;
    const std::array<SqlValue, 1> value{MacValue(mac)};
    if (!m_database->Run("SELECT state FROM pool_mac WHERE mac = $1", value, &rows)) {
        return Failure("cannot read the MAC's state");
    }
    if (!rows.empty()) {
        const std::optional<MacState> state =
            rows[0].empty() ? std::nullopt : StateOfWord(rows[0][0]);
        if (!state) {
            return Unexpected("cannot read the MAC's state");
        }
        return *state;
    }
    if (!m_database->Run("SELECT 1 FROM pool_range "
                         "WHERE start_mac <= $1 AND start_mac + mac_count > $1",
                         value, &rows)) {
        return Failure("cannot read the MAC's state");
    }
    return rows.empty() ? MacState::NotInPool : MacState::Free;
}

StoreResult<Reservation> SqlStationStore::Reserve(const ReservationRequest& request) {
    StoreResult<std::vector<Reservation>> held = ReserveMany({request});
    if (!held.Ok()) {
        return StoreStatus{held.outcome, held.message};
    }
    if (held.value.empty()) {
        return StoreFailure(StoreOutcome::PoolEmpty, "the MAC pool is empty");
    }
    return held.value.front();
}

StoreResult<std::vector<Reservation>> SqlStationStore::ReserveMany(
    const std::vector<ReservationRequest>& requests) {
    SqlTransaction transaction(*m_database, m_dialect.beginWrite);
    if (!transaction.IsOpen()) {
        return Failure("cannot reserve a MAC");
    }
    std::vector<Reservation> held;
    for (const ReservationRequest& request : requests) {
        StoreResult<std::optional<Reservation>> one = ReserveOne(request);
        if (one.outcome == StoreOutcome::OrderNotOpen || one.outcome == StoreOutcome::OrderFull ||
            one.outcome == StoreOutcome::OrderUnknown) {
            if (requests.size() == 1) {
                return StoreStatus{one.outcome, one.message};
            }
            break;  // the order takes no more modules now; those held so far stand
        }
        if (!one.Ok()) {
            return StoreStatus{one.outcome, one.message};
        }
        if (!one.value) {
            break;  // the pool ran out
        }
        held.push_back(*one.value);
    }
    if (!transaction.Commit()) {
        return Failure("cannot reserve a MAC");
    }
    return held;
}

StoreResult<std::optional<Reservation>> SqlStationStore::ReserveOne(
    const ReservationRequest& request) {
    const std::int64_t now = StoreClockNow();
    std::string owner;
    if (!request.order.empty()) {
        if (StoreStatus room = OrderRoom(request.order, owner); !room.Ok()) {
            return room;
        }
    }
    const StoreResult<std::optional<MacNumber>> mac = TakeFreeMac(now, owner);
    if (!mac.Ok()) {
        return StoreStatus{mac.outcome, mac.message};
    }
    if (!mac.value) {
        return std::optional<Reservation>();
    }
    const StoreResult<std::int64_t> id = InsertReservation(*mac.value, request, now);
    if (!id.Ok()) {
        return StoreStatus{id.outcome, id.message};
    }
    const std::array<SqlValue, 3> state{MacValue(*mac.value), id.value, now};
    if (!m_database->Run("INSERT INTO pool_mac (mac, state, reservation_id, changed_at) "
                         "VALUES ($1, 'reserved', $2, $3) ON CONFLICT (mac) DO UPDATE SET "
                         "state = excluded.state, reservation_id = excluded.reservation_id, "
                         "changed_at = excluded.changed_at",
                         state)) {
        return Failure("cannot reserve a MAC");
    }
    return std::optional<Reservation>(Reservation{id.value, *mac.value});
}

// Returned MACs go out again first, lowest first; then the next fresh one of the lowest range
// that has any left. Each is taken by one statement on rows this transaction holds locked
// until it commits. A fresh MAC's statement may find its locked range row changed under it by
// another station and take nothing; a few new tries settle that.
StoreResult<std::optional<MacNumber>> SqlStationStore::TakeFreeMac(std::int64_t now,
                                                                   const std::string& owner) {
    const std::array<SqlValue, 2> changedAt{now, owner};
    const std::array<SqlValue, 1> ownerOnly{owner};
    // Only the MACs of ranges that belong to `owner` (an order, or "" for no order).
    const std::string takeReturned =
        std::string(
            "UPDATE pool_mac SET state = 'reserved', changed_at = $1 WHERE mac = "
            "(SELECT mac FROM pool_mac WHERE state = 'free' AND EXISTS (SELECT 1 FROM pool_range "
            "g WHERE g.order_name = $2 AND g.start_mac <= pool_mac.mac AND pool_mac.mac < "
            "g.start_mac + g.mac_count) ORDER BY mac LIMIT 1") +
        m_dialect.skipLockedRows + ") RETURNING mac";
    const std::string takeFresh =
        std::string(
            "UPDATE pool_range SET next_offset = next_offset + 1 WHERE id = "
            "(SELECT id FROM pool_range WHERE next_offset < mac_count AND order_name = $1 "
            "ORDER BY start_mac LIMIT 1") +
        m_dialect.lockRows + ") AND next_offset < mac_count RETURNING start_mac + next_offset - 1";
    std::vector<SqlRow> taken;
    if (!m_database->Run(takeReturned, changedAt, &taken)) {
        return Failure("cannot reserve a MAC");
    }
    for (int attempt = 0; taken.empty() && attempt < kReserveAttempts; ++attempt) {
        std::vector<SqlRow> left;
        if (!m_database->Run(takeFresh, ownerOnly, &taken) ||
            (taken.empty() && !m_database->Run("SELECT 1 FROM pool_range WHERE next_offset < "
                                               "mac_count AND order_name = $1 LIMIT 1",
                                               ownerOnly, &left))) {
            return Failure("cannot reserve a MAC");
        }
        if (taken.empty() && left.empty()) {
            return std::optional<MacNumber>();
        }
    }
    std::int64_t mac = 0;
    if (taken.empty() || taken[0].empty() || !ParseInt(taken[0][0], mac)) {
        return Unexpected("cannot reserve a MAC");
    }
    return std::optional<MacNumber>(static_cast<MacNumber>(mac));
}

StoreResult<std::int64_t> SqlStationStore::InsertReservation(MacNumber mac,
                                                             const ReservationRequest& request,
                                                             std::int64_t now) {
    const HolderProcess holder = CurrentHolderProcess();
    const std::array<SqlValue, 7> hold{
        MacValue(mac), request.station, request.port, holder.host, holder.pid, now, request.order};
    std::vector<SqlRow> ids;
    std::int64_t id = 0;
    if (!m_database->Run("INSERT INTO reservation "
                         "(mac, station, port, holder_host, holder_pid, reserved_at, order_name) "
                         "VALUES ($1, $2, $3, $4, $5, $6, $7) RETURNING id",
                         hold, &ids)) {
        return Failure("cannot reserve a MAC");
    }
    if (ids.empty() || ids[0].empty() || !ParseInt(ids[0][0], id)) {
        return Unexpected("cannot reserve a MAC");
    }
    return id;
}

StoreStatus SqlStationStore::Advance(std::int64_t reservationId, const Step& step,
                                     const ProductionRecord* record, const std::string& reason) {
    const std::string what = std::string("cannot mark the MAC ") + step.name;
    SqlTransaction transaction(*m_database, m_dialect.beginRelaxed, m_dialect.endRelaxed);
    if (!transaction.IsOpen()) {
        return Failure(what);
    }
    // The order's row is locked first, so that the verifications of two stations count one
    // after the other and the one that reaches the quantity sees the other's.
    StoreResult<std::string> order;
    if (step.countsForOrder) {
        order = LockOrderOf(reservationId);
        if (!order.Ok()) {
            return StoreStatus{order.outcome, what + ": " + order.message};
        }
    }
    std::vector<SqlRow> changed;
    const std::array<SqlValue, 3> values{reservationId, StoreClockNow(), reason};
    const std::string sql = std::string("UPDATE pool_mac SET state = '") + step.toState +
                            "', held_reason = $3, changed_at = $2 WHERE reservation_id = $1 "
                            "AND state IN (" +
                            step.fromStates + ") RETURNING mac";
    if (!m_database->Run(sql, values, &changed)) {
        return Failure(what);
    }
    if (changed.empty()) {
        return StoreFailure(StoreOutcome::ReservationClosed,
                            what + ": the reservation is not open for this step");
    }
    if ((record != nullptr && !InsertRecord(*record)) ||
        (!order.value.empty() && !CountVerified(order.value)) || !transaction.Commit()) {
        return Failure(what);
    }
    return {};
}

StoreStatus SqlStationStore::MarkWritten(std::int64_t reservationId) {
    static const Step kWritten{"written", "'reserved'", "written"};
    return Advance(reservationId, kWritten, nullptr);
}

StoreStatus SqlStationStore::MarkVerified(std::int64_t reservationId,
                                          const ProductionRecord& record) {
    static const Step kVerified{"verified", "'reserved', 'written'", "verified", true};
    return Advance(reservationId, kVerified, &record);
}

StoreStatus SqlStationStore::KeepUsed(std::int64_t reservationId, const ProductionRecord& record) {
    static const Step kFailed{"failed", "'reserved', 'written'", "failed"};
    return Advance(reservationId, kFailed, &record);
}

StoreStatus SqlStationStore::HoldSuspect(std::int64_t reservationId, const std::string& reason,
                                         const ProductionRecord& record) {
    static const Step kSuspect{"suspect", "'reserved', 'written'", "suspect"};
    return Advance(reservationId, kSuspect, &record, reason);
}

StoreStatus SqlStationStore::ReturnToPool(std::int64_t reservationId,
                                          const ProductionRecord& record) {
    static const Step kReturned{"free", "'reserved'", "free"};
    return Advance(reservationId, kReturned, &record);
}

StoreResult<QuarantineReport> SqlStationStore::QuarantineUnfinished(const std::string& station) {
    SqlTransaction transaction(*m_database, m_dialect.beginWrite);
    std::vector<SqlRow> unfinished;
    const std::array<SqlValue, 1> name{station};
    if (!transaction.IsOpen() ||
        !m_database->Run(std::string("SELECT m.mac, r.holder_host, r.holder_pid, r.reserved_at "
                                     "FROM pool_mac m JOIN reservation r ON r.id = "
                                     "m.reservation_id WHERE r.station = $1 AND m.state IN "
                                     "('reserved', 'written') ORDER BY m.mac") +
                             m_dialect.lockPoolMacRows,
                         name, &unfinished)) {
        return Failure("cannot look for unfinished reservations");
    }
    QuarantineReport report;
    const std::int64_t now = StoreClockNow();
    const std::string thisHost = CurrentHolderProcess().host;
    for (const SqlRow& row : unfinished) {
        std::int64_t mac = 0;
        std::int64_t reservedAt = 0;
        HolderProcess holder;
        if (row.size() != 4 || !ParseInt(row[0], mac) || !row[1] || !ParseInt(row[2], holder.pid) ||
            !ParseInt(row[3], reservedAt)) {
            return Unexpected("cannot look for unfinished reservations");
        }
        holder.host = *row[1];
        if (holder.host != thisHost) {
            report.otherHosts.push_back(
                {static_cast<MacNumber>(mac), holder.host, holder.pid, now - reservedAt});
            continue;
        }
        if (HolderIsRunning(holder)) {
            continue;
        }
        const std::array<SqlValue, 3> values{mac, now, UnfinishedReason(station, holder)};
        if (!m_database->Run("UPDATE pool_mac SET state = 'quarantined', held_reason = $3, "
                             "changed_at = $2 WHERE mac = $1",
                             values)) {
            return Failure("cannot quarantine unfinished reservations");
        }
        report.quarantined.push_back(static_cast<MacNumber>(mac));
    }
    if (!transaction.Commit()) {
        return Failure("cannot quarantine unfinished reservations");
    }
    return report;
}

StoreStatus SqlStationStore::Together(const std::function<void(StationStore&)>& steps) {
    SqlTransaction transaction(*m_database, m_dialect.beginRelaxed, m_dialect.endRelaxed);
    if (!transaction.IsOpen()) {
        return Failure("cannot end the attempts");
    }
    steps(*this);
    if (!transaction.Commit()) {
        return Failure("cannot end the attempts");
    }
    return {};
}
