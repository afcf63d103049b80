#include "store/record_export.h"

#include <nlohmann/json.hpp>

#include "store/iso_time.h"

namespace {

using Json = nlohmann::ordered_json;

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

std::string CsvText(const std::string& text) {
    const bool formula =
        !text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string::npos;
    return CsvField(formula ? "'" + text : text);
}

std::string CsvNumber(const std::optional<std::int64_t>& value) {
    return value ? std::to_string(*value) : std::string();
}

Json JsonNumber(const std::optional<std::int64_t>& value) {
    return value ? Json(*value) : Json(nullptr);
}

}  // namespace

std::string RecordCsvHeader() {
    std::string header;
    for (const char* name : kRecordColumnNames) {
        header += (header.empty() ? "" : ",");
        header += name;
    }
    return header;
}

std::string RecordCsvRow(const ProductionRecord& record) {
    const std::string fields[] = {FormatIsoUtc(record.timeStart),
                                  FormatIsoUtc(record.timeEnd),
                                  CsvText(record.station),
                                  CsvText(record.port),
                                  CsvText(record.portByPath),
                                  CsvText(record.moduleName),
                                  CsvText(record.moduleVersion),
                                  CsvText(record.moduleType),
                                  CsvText(record.macBefore),
                                  CsvText(record.macWritten),
                                  CsvText(record.configFile),
                                  CsvText(record.configSha256),
                                  CsvText(record.outcome),
                                  CsvText(record.reason),
                                  record.verified ? (*record.verified ? "true" : "false") : "",
                                  CsvNumber(record.readMs),
                                  CsvNumber(record.writeMs),
                                  CsvNumber(record.verifyMs),
                                  record.rework ? "true" : "false",
                                  CsvText(record.note),
                                  CsvText(record.order)};
    std::string row;
    for (std::size_t i = 0; i < std::size(fields); ++i) {
        row += (i == 0 ? "" : ",");
        row += fields[i];
    }
    return row;
}

std::string RecordJsonLine(const ProductionRecord& record) {
    Json line;
    line["time_start"] = FormatIsoUtc(record.timeStart);
    line["time_end"] = FormatIsoUtc(record.timeEnd);
    line["station"] = record.station;
    line["port"] = record.port;
    line["port_by_path"] = record.portByPath;
    line["module_name"] = record.moduleName;
    line["module_version"] = record.moduleVersion;
    line["module_type"] = record.moduleType;
    line["mac_before"] = record.macBefore;
    line["mac_written"] = record.macWritten;
    line["config_file"] = record.configFile;
    line["config_sha256"] = record.configSha256;
    line["outcome"] = record.outcome;
    line["reason"] = record.reason;
    line["verified"] = record.verified ? Json(*record.verified) : Json(nullptr);
    line["read_ms"] = JsonNumber(record.readMs);
    line["write_ms"] = JsonNumber(record.writeMs);
    line["verify_ms"] = JsonNumber(record.verifyMs);
    line["rework"] = record.rework;
    line["note"] = record.note;
    line["order"] = record.order;
    return line.dump(-1, ' ', false, Json::error_handler_t::replace);
}

void ExportRecords(const std::vector<ProductionRecord>& records, RecordFormat format,
                   std::ostream& out) {
    if (format == RecordFormat::Csv) {
        out << RecordCsvHeader() << '\n';
    }
    for (const ProductionRecord& record : records) {
        out << (format == RecordFormat::Csv ? RecordCsvRow(record) : RecordJsonLine(record))
            << '\n';
    }
}
