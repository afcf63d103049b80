// The rows the production programs keep of themselves in SqlStationStore.
#include <array>

#include "store/sql_station_store.h"
#include "store/sql_values.h"
#include "store/stored_text.h"

namespace {

const std::array<StationState, 3> kStationStates{StationState::Running, StationState::Stopping,
                                                 StationState::Stopped};

std::optional<StationState> StationStateOfWord(const std::optional<std::string>& word) {
    for (const StationState state : kStationStates) {
        if (word == StationStateName(state)) {
            return state;
        }
    }
    return std::nullopt;
}

SqlValue Text(const std::string& text) {
    return IsStorableText(text) ? text : StoredText(text);
}

}  // namespace

StoreStatus SqlStationStore::KeepStationRow(const StationRow& row) {
    const std::array<SqlValue, 12> values{Text(row.station),
                                          Text(row.host),
                                          Text(row.program),
                                          Text(row.version),
                                          Text(row.order),
                                          std::string(StationStateName(row.state)),
                                          row.startedMs,
                                          row.lastSeenMs,
                                          row.done,
                                          row.failed,
                                          Text(row.lastFailureReason),
                                          row.lastFailureMs};
    const std::array<SqlValue, 1> name{values[0]};
    // A station's row says where it stands now; losing the latest refresh to a power cut costs
    // nothing, so it waits for no disk.
    SqlTransaction transaction(*m_database, m_dialect.beginRelaxed, m_dialect.endRelaxed);
    if (!transaction.IsOpen() ||
        !m_database->Run(
            "INSERT INTO station_row (station, host, program, version, order_name, state, "
            "started_at, last_seen, done, failed, last_failure_reason, last_failure_at) VALUES "
            "($1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11, $12) ON CONFLICT (station) DO UPDATE "
            "SET host = excluded.host, program = excluded.program, version = excluded.version, "
            "order_name = excluded.order_name, state = excluded.state, started_at = "
            "excluded.started_at, last_seen = excluded.last_seen, done = excluded.done, failed "
            "= excluded.failed, last_failure_reason = excluded.last_failure_reason, "
            "last_failure_at = excluded.last_failure_at",
            values) ||
        (*m_dialect.announceStation != '\0' && !m_database->Run(m_dialect.announceStation, name)) ||
        !transaction.Commit()) {
        return Failure("cannot keep the station's row");
    }
    return {};
}

StoreResult<std::vector<StationRow>> SqlStationStore::Stations() {
    std::vector<SqlRow> rows;
    if (!m_database->Run("SELECT station, host, program, version, order_name, state, started_at, "
                         "last_seen, done, failed, last_failure_reason, last_failure_at FROM "
                         "station_row ORDER BY station",
                         {}, &rows)) {
        return Failure("cannot read the stations");
    }
    std::vector<StationRow> stations;
    for (const SqlRow& row : rows) {
        StationRow& station = stations.emplace_back();
        const std::optional<StationState> state =
            row.size() == 12 ? StationStateOfWord(row[5]) : std::nullopt;
        if (!state || !ParseInt(row[6], station.startedMs) ||
            !ParseInt(row[7], station.lastSeenMs) || !ParseInt(row[8], station.done) ||
            !ParseInt(row[9], station.failed) || !ParseInt(row[11], station.lastFailureMs)) {
            return Unexpected("cannot read the stations");
        }
        station.station = row[0].value_or("");
        station.host = row[1].value_or("");
        station.program = row[2].value_or("");
        station.version = row[3].value_or("");
        station.order = row[4].value_or("");
        station.state = *state;
        station.lastFailureReason = row[10].value_or("");
    }
    return stations;
}
