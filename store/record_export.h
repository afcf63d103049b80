#pragma once

#include <array>
#include <ostream>
#include <string>
#include <vector>

#include "store/production_record.h"

// The columns of an exported record, in their order; the CSV header and the JSON keys.
inline constexpr std::array<const char*, 21> kRecordColumnNames{
    "time_start",     "time_end",    "station",    "port",        "port_by_path", "module_name",
    "module_version", "module_type", "mac_before", "mac_written", "config_file",  "config_sha256",
    "outcome",        "reason",      "verified",   "read_ms",     "write_ms",     "verify_ms",
    "rework",         "note",        "order"};

enum class RecordFormat { Csv, JsonLines };

// CSV: a header row, then one row per record; times in ISO 8601 UTC, a verification result as
// true or false, and an empty field for what did not run. Fields with a comma, quote or line
// break are quoted. A text that a spreadsheet would take for a formula (it begins with =, +,
// -, @, a tab or a carriage return) gets a leading apostrophe, so opening an export never
// runs what a module or a file name carried.
[[nodiscard]] std::string RecordCsvHeader();
[[nodiscard]] std::string RecordCsvRow(const ProductionRecord& record);

// One JSON object per line with the same keys in the same order; null for what did not run.
// Bytes that are not UTF-8 are replaced, never passed through.
[[nodiscard]] std::string RecordJsonLine(const ProductionRecord& record);

// Writes `records` in `format`, each line ended by "\n" (CSV with its header first).
void ExportRecords(const std::vector<ProductionRecord>& records, RecordFormat format,
                   std::ostream& out);
