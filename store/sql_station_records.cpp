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
    "verified, read_ms, write_ms, verify_ms, mac_sent, rework, note";
constexpr std::size_t kRecordColumnCount = 21;

// Both backends keep any text given to them: PostgreSQL refuses bytes that are not UTF-8, so
// a module's odd name would otherwise fail the insert, and the module its record.
SqlValue TextValue(const std::string& text) {
    return IsStorableText(text) ? text : StoredText(text);
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
        TextValue(record.note)};
    return m_database->Run(std::string("INSERT INTO production_record (") + kRecordColumns +
                               ") VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11, $12, "
                               "$13, $14, $15, $16, $17, $18, $19, $20, $21)",
                           values);
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
        if (row.size() != kRecordColumnCount) {
            return Unexpected("cannot read the production records");
        }
        ProductionRecord& record = records.emplace_back();
        if (!ParseInt(row[0], record.timeStart) || !ParseInt(row[1], record.timeEnd)) {
            return Unexpected("cannot read the production records");
        }
        std::string* texts[] = {&record.station,      &record.port,          &record.portByPath,
                                &record.moduleName,   &record.moduleVersion, &record.moduleType,
                                &record.macBefore,    &record.macWritten,    &record.configFile,
                                &record.configSha256, &record.outcome,       &record.reason};
        for (std::size_t i = 0; i < std::size(texts); ++i) {
            *texts[i] = row[2 + i].value_or("");
        }
        if (const auto verified = ParseNullableInt(row[14])) {
            record.verified = *verified != 0;
        }
        record.readMs = ParseNullableInt(row[15]);
        record.writeMs = ParseNullableInt(row[16]);
        record.verifyMs = ParseNullableInt(row[17]);
        if (const auto mac = ParseNullableInt(row[18])) {
            record.macSent = static_cast<MacNumber>(*mac);
        }
        record.rework = ParseNullableInt(row[19]).value_or(0) != 0;
        record.note = row[20].value_or("");
    }
    return records;
}
