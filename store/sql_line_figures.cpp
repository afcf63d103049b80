// The line's view of SqlStationStore: the shift's figures, station rows and orders. Every
// figure is grouped in SQL over the shift's records, so what comes back is bounded by the
// shift's minutes, hours and stations, not by its records.
#include <array>

#include "store/sql_station_store.h"
#include "store/sql_values.h"

namespace {

// $1 and $2 bound the shift.
constexpr const char* kInShift = " FROM production_record WHERE time_start BETWEEN $1 AND $2";
constexpr const char* kPassed = "SUM(CASE WHEN outcome = 'ok' THEN 1 ELSE 0 END)";
// A module left alone because it was programmed before is no attempt; a rework attempt is no
// first pass.
constexpr const char* kAttempted = "outcome IN ('ok', 'failed')";
constexpr const char* kFirstPass = "outcome IN ('ok', 'failed') AND rework = 0";

bool ParseAll(const SqlRow& row, std::size_t first, std::initializer_list<std::int64_t*> values) {
    if (row.size() < first + values.size()) {
        return false;
    }
    std::size_t column = first;
    for (std::int64_t* value : values) {
        if (!ParseInt(row[column++], *value)) {
            return false;
        }
    }
    return true;
}

StationFigures& FiguresOf(std::vector<StationFigures>& stations, const std::string& name) {
    for (StationFigures& figures : stations) {
        if (figures.station == name) {
            return figures;
        }
    }
    StationFigures added;
    added.station = name;
    return stations.emplace_back(std::move(added));
}

}  // namespace

StoreResult<ShiftFigures> SqlStationStore::Shift(const ShiftQuery& query) {
    const std::string what = "cannot read the shift's figures";
    ShiftFigures figures;
    std::vector<SqlRow> minutes, hours, reasons, latest, paces;
    const std::array<SqlValue, 2> shift{query.from, query.now};
    const std::array<SqlValue, 2> recent{query.recentFromMs, query.now};
    const std::array<SqlValue, 3> pareto{query.from, query.now, kParetoReasons};
    // One snapshot, so the figures add up.
    SqlTransaction transaction(*m_database, m_dialect.beginRead);
    if (!transaction.IsOpen() ||
        !m_database->Run(std::string("SELECT time_start / 60000, COUNT(*)") + kInShift +
                             " AND outcome = 'ok' GROUP BY time_start / 60000 ORDER BY 1",
                         shift, &minutes) ||
        !m_database->Run(std::string("SELECT time_start / 3600000, COUNT(*), ") + kPassed +
                             kInShift + " AND " + kFirstPass +
                             " GROUP BY time_start / 3600000 ORDER BY 1",
                         shift, &hours) ||
        !m_database->Run(std::string("SELECT reason, COUNT(*)") + kInShift +
                             " AND outcome = 'failed' GROUP BY reason ORDER BY 2 DESC, reason "
                             "LIMIT $3",
                         pareto, &reasons) ||
        !m_database->Run("SELECT order_name, COUNT(*)" + std::string(kInShift) +
                             " AND outcome = 'ok' AND order_name <> '' GROUP BY order_name "
                             "ORDER BY order_name",
                         recent, &paces) ||
        !m_database->Run("SELECT COALESCE(MAX(id), 0) FROM production_record", {}, &latest) ||
        !ReadShiftStations(query, figures)) {
        return Failure(what);
    }
    for (const SqlRow& row : minutes) {
        if (!ParseAll(row, 0,
                      {&figures.minutes.emplace_back().minute, &figures.minutes.back().passed})) {
            return Unexpected(what);
        }
    }
    for (const SqlRow& row : hours) {
        HourYield& hour = figures.hours.emplace_back();
        if (!ParseAll(row, 0, {&hour.hour, &hour.attempts, &hour.passed})) {
            return Unexpected(what);
        }
    }
    for (const SqlRow& row : reasons) {
        ReasonCount& reason = figures.pareto.emplace_back();
        reason.reason = row.empty() ? "" : row[0].value_or("");
        if (!ParseAll(row, 1, {&reason.count})) {
            return Unexpected(what);
        }
    }
    for (const SqlRow& row : paces) {
        OrderPace& pace = figures.orders.emplace_back();
        pace.order = row.empty() ? "" : row[0].value_or("");
        if (!ParseAll(row, 1, {&pace.recentPassed})) {
            return Unexpected(what);
        }
    }
    if (latest.empty() || !ParseAll(latest[0], 0, {&figures.latestRecordId})) {
        return Unexpected(what);
    }
    return figures;
}

bool SqlStationStore::ReadShiftStations(const ShiftQuery& query, ShiftFigures& figures) {
    std::vector<SqlRow> totals, recent, failures;
    const std::array<SqlValue, 3> withRecent{query.from, query.now, query.recentFromMs};
    const std::array<SqlValue, 3> withLast{query.from, query.now, query.lastModules};
    const std::array<SqlValue, 2> shift{query.from, query.now};
    // The latest attempts of each station, newest first, numbered from 1.
    const std::string numbered =
        std::string(
            "SELECT station, outcome, reason, time_start, ROW_NUMBER() OVER "
            "(PARTITION BY station ORDER BY time_start DESC, id DESC) AS n") +
        kInShift;
    const std::string count = std::string("SUM(CASE WHEN ") + kAttempted + " THEN 1 ELSE 0 END), ";
    const std::string firstPasses = std::string(", SUM(CASE WHEN ") + kFirstPass +
                                    " THEN 1 ELSE 0 END), SUM(CASE WHEN " + kFirstPass +
                                    " AND outcome = 'ok' THEN 1 ELSE 0 END)";
    if (!m_database->Run("SELECT station, " + count + kPassed +
                             ", SUM(CASE WHEN outcome = 'ok' AND time_start >= $3 THEN 1 "
                             "ELSE 0 END), MAX(time_start)" +
                             firstPasses + kInShift + " GROUP BY station ORDER BY station",
                         withRecent, &totals) ||
        !m_database->Run("SELECT station, COUNT(*), " + std::string(kPassed) + " FROM (" +
                             numbered + " AND " + kFirstPass +
                             ") latest WHERE n <= $3 GROUP BY station",
                         withLast, &recent) ||
        !m_database->Run("SELECT station, reason, time_start FROM (" + numbered +
                             " AND outcome = 'failed') failures WHERE n = 1",
                         shift, &failures)) {
        return false;
    }
    for (const SqlRow& row : totals) {
        StationFigures& station = figures.stations.emplace_back();
        station.station = row.empty() ? "" : row[0].value_or("");
        if (!ParseAll(row, 1,
                      {&station.attempts, &station.passed, &station.recentPassed,
                       &station.lastModuleMs, &station.firstAttempts, &station.firstPassed})) {
            return false;
        }
    }
    for (const SqlRow& row : recent) {
        StationFigures& station =
            FiguresOf(figures.stations, row.empty() ? "" : row[0].value_or(""));
        if (!ParseAll(row, 1, {&station.lastAttempts, &station.lastPassed})) {
            return false;
        }
    }
    for (const SqlRow& row : failures) {
        StationFigures& station =
            FiguresOf(figures.stations, row.empty() ? "" : row[0].value_or(""));
        station.lastFailureReason = row.size() > 1 ? row[1].value_or("") : "";
        if (!ParseAll(row, 2, {&station.lastFailureMs})) {
            return false;
        }
    }
    return true;
}
