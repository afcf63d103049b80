// The production record part of SqlStationStore.
#include <array>
#include <limits>

#include "store/mac_text.h"
#include "store/sql_station_store.h"
#include "store/sql_values.h"
#include "store/stored_text.h"

namespace {

const char* const kRecordColumns =
    "time_start, time_end, station, port, port_by_path, module_name, module_version, "
    "module_type, mac_before, mac_written, config_file, config_sha256, outcome, reason, "
    "verified, read_ms, write_ms, verify_ms, mac_sent, rework, note, order_name";
constexpr std::size_t kRecordColumnCount = 22;

// Both backends keep any text given to them: PostgreSQL refuses bytes that are not UTF-8, so
// a module's odd name would otherwise fail the insert, and the module its record.
SqlValue TextValue(const std::string& text) {
    return IsStorableText(text) ? text : StoredText(text);
}

// Reads the record columns of `row` from column `first` on.
bool ReadRecordRow(const SqlRow& row, std::size_t first, ProductionRecord& record) {
    if (row.size() != first + kRecordColumnCount || !ParseInt(row[first], record.timeStart) ||
        !ParseInt(row[first + 1], record.timeEnd)) {
        return false;
    }
    std::string* texts[] = {&record.station,      &record.port,          &record.portByPath,
                            &record.moduleName,   &record.moduleVersion, &record.moduleType,
                            &record.macBefore,    &record.macWritten,    &record.configFile,
                            &record.configSha256, &record.outcome,       &record.reason};
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        *texts[i] = row[first + 2 + i].value_or("");
    }
    if (const auto verified = ParseNullableInt(row[first + 14])) {
        record.verified = *verified != 0;
    }
    record.readMs = ParseNullableInt(row[first + 15]);
    record.writeMs = ParseNullableInt(row[first + 16]);
    record.verifyMs = ParseNullableInt(row[first + 17]);
    if (const auto mac = ParseNullableInt(row[first + 18])) {
        record.macSent = static_cast<MacNumber>(*mac);
    }
    record.rework = ParseNullableInt(row[first + 19]).value_or(0) != 0;
    record.note = row[first + 20].value_or("");
    record.order = row[first + 21].value_or("");
    return true;
}

}  // namespace

bool SqlStationStore::InsertRecord(const ProductionRecord& record) {
    const std::array<SqlValue, kRecordColumnCount> values{
        record.timeStart,
        record.timeEnd,
        TextValue(record.station),
        TextValue(record.port),
        TextValue(record.portByPath),
        TextValue(record.moduleName),
        TextValue(record.moduleVersion),
        TextValue(record.moduleType),
        TextValue(record.macBefore),
        TextValue(record.macWritten),
        TextValue(record.configFile),
        TextValue(record.configSha256),
        TextValue(record.outcome),
        TextValue(record.reason),
        NullableValue(VerifiedFlag(record.verified)),
        NullableValue(record.readMs),
        NullableValue(record.writeMs),
        NullableValue(record.verifyMs),
        record.macSent ? SqlValue(MacValue(*record.macSent)) : SqlValue(),
        std::int64_t{record.rework ? 1 : 0},
        TextValue(record.note),
        TextValue(record.order)};
    std::vector<SqlRow> ids;
    if (!m_database->Run(std::string("INSERT INTO production_record (") + kRecordColumns +
                             ") VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11, $12, "
                             "$13, $14, $15, $16, $17, $18, $19, $20, $21, $22) RETURNING id",
                         values, &ids)) {
        return false;
    }
    // Announced in the same transaction, so listeners hear of the record once it is committed.
    if (*m_dialect.announceRecord == '\0' || ids.empty() || ids[0].empty() || !ids[0][0]) {
        return true;
    }
    const std::array<SqlValue, 1> payload{*ids[0][0]};
    return m_database->Run(m_dialect.announceRecord, payload);
}

// Records of a store made before version 3 kept their MAC as text only. A MAC the module had
// before was kept, not given by the line.
bool SqlStationStore::FillMacSentOfOldRecords() {
    std::vector<SqlRow> rows;
    if (!m_database->Run("SELECT id, mac_written FROM production_record "
                         "WHERE mac_written <> '' AND mac_written <> mac_before",
                         {}, &rows)) {
        return false;
    }
    for (const SqlRow& row : rows) {
        std::int64_t id = 0;
        const std::optional<MacNumber> mac =
            row.size() == 2 && row[1] ? MacNumberOfText(*row[1]) : std::nullopt;
        if (!mac || !ParseInt(row[0], id)) {
            continue;
        }
        const std::array<SqlValue, 2> values{id, MacValue(*mac)};
        if (!m_database->Run("UPDATE production_record SET mac_sent = $2 WHERE id = $1", values)) {
            return false;
        }
    }
    return true;
}

StoreStatus SqlStationStore::AddRecord(const ProductionRecord& record) {
    SqlTransaction transaction(*m_database, m_dialect.beginRelaxed, m_dialect.endRelaxed);
    if (!transaction.IsOpen() || !InsertRecord(record) || !transaction.Commit()) {
        return Failure("cannot add the production record");
    }
    return {};
}

StoreResult<std::vector<ProductionRecord>> SqlStationStore::Records(
    std::optional<std::int64_t> since) {
    std::vector<SqlRow> rows;
    const std::array<SqlValue, 1> from{since.value_or(std::numeric_limits<std::int64_t>::min())};
    if (!m_database->Run(std::string("SELECT ") + kRecordColumns +
                             " FROM production_record WHERE time_start >= $1 "
                             "ORDER BY time_start, id",
                         from, &rows)) {
        return Failure("cannot read the production records");
    }
    std::vector<ProductionRecord> records;
    records.reserve(rows.size());
    for (const SqlRow& row : rows) {
        if (!ReadRecordRow(row, 0, records.emplace_back())) {
            return Unexpected("cannot read the production records");
        }
    }
    return records;
}

StoreResult<std::vector<StoredRecord>> SqlStationStore::FindRecords(const RecordQuery& query) {
    if (query.limit < 1 || query.limit > kRecordQueryLimitMax) {
        return StoreFailure(
            StoreOutcome::DatabaseFailed,
            "a query asks for 1 to " + std::to_string(kRecordQueryLimitMax) + " records");
    }
    // Only the criteria given become conditions; their values are always bound.
    std::vector<SqlValue> values;
    std::string where = " WHERE 1 = 1";
    const auto condition = [&](const char* sql, SqlValue value) {
        values.push_back(std::move(value));
        const std::string placeholder = "$" + std::to_string(values.size());
        std::string text = sql;
        for (auto at = text.find('?'); at != std::string::npos; at = text.find('?', at)) {
            text.replace(at, 1, placeholder);
        }
        where += text;
    };
    if (query.since) {
        condition(" AND time_start >= ?", *query.since);
    }
    if (query.afterId) {
        condition(" AND id > ?", *query.afterId);
    }
    if (!query.station.empty()) {
        condition(" AND station = ?", query.station);
    }
    if (!query.outcome.empty()) {
        condition(" AND outcome = ?", query.outcome);
    }
    if (!query.order.empty()) {
        condition(" AND order_name = ?", query.order);
    }
    if (!query.mac.empty()) {
        condition(" AND (mac_written = ? OR mac_before = ?)", query.mac);
    }
    condition(" ORDER BY time_start DESC, id DESC LIMIT ?", query.limit);
    std::vector<SqlRow> rows;
    if (!m_database->Run(
            std::string("SELECT id, ") + kRecordColumns + " FROM production_record" + where, values,
            &rows)) {
        return Failure("cannot read the production records");
    }
    std::vector<StoredRecord> records;
    records.reserve(rows.size());
    for (const SqlRow& row : rows) {
        StoredRecord& stored = records.emplace_back();
        if (row.empty() || !ParseInt(row[0], stored.id) || !ReadRecordRow(row, 1, stored.record)) {
            return Unexpected("cannot read the production records");
        }
    }
    return records;
}

StoreResult<std::vector<std::int64_t>> SqlStationStore::RecordIdsAfter(std::int64_t afterId,
                                                                       std::int64_t limit) {
    std::vector<SqlRow> rows;
    const std::array<SqlValue, 2> values{afterId, limit};
    if (!m_database->Run("SELECT id FROM production_record WHERE id > $1 ORDER BY id LIMIT $2",
                         values, &rows)) {
        return Failure("cannot read the production records");
    }
    std::vector<std::int64_t> ids(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].empty() || !ParseInt(rows[i][0], ids[i])) {
            return Unexpected("cannot read the production records");
        }
    }
    return ids;
}
