// lvcfg-cli records: the production record as CSV or JSON lines, one row per module attempt.
#include <iostream>
#include <optional>

#include "cli/command.h"
#include "model/mac_address.h"
#include "store/iso_time.h"
#include "store/record_export.h"

namespace {

struct RecordsOptions {
    std::string since;
    std::string format;  // "csv" or "jsonl"; empty: jsonl with --json, else csv
    std::string order;
    std::string mac;
};

// The records asked for, oldest first: every attempt on the module that had or was given the
// MAC (found by the record's MAC columns), or all records, of the order when one is named.
StoreResult<std::vector<ProductionRecord>> Select(StationStore& store,
                                                  const RecordsOptions& options,
                                                  std::optional<std::int64_t> since) {
    if (options.mac.empty()) {
        StoreResult<std::vector<ProductionRecord>> all = store.Records(since);
        if (all.Ok() && !options.order.empty()) {
            std::erase_if(all.value, [&](const ProductionRecord& record) {
                return record.order != options.order;
            });
        }
        return all;
    }
    RecordQuery query;
    query.since = since;
    query.order = options.order;
    query.mac = FormatMacAddress(*ParseMacAddress(options.mac));  // checked while parsing
    query.limit = kRecordQueryLimitMax;
    const StoreResult<std::vector<StoredRecord>> found = store.FindRecords(query);
    if (!found.Ok()) {
        return StoreStatus{found.outcome, found.message};
    }
    std::vector<ProductionRecord> records;
    for (auto stored = found.value.rbegin(); stored != found.value.rend(); ++stored) {
        records.push_back(stored->record);
    }
    return records;
}

ExitCode RunRecords(const RecordsOptions& options, const GlobalOptions& global, Output& out) {
    std::optional<std::int64_t> since;
    if (!options.since.empty()) {
        since = ParseIsoUtc(options.since);
        if (!since) {
            const std::string text =
                "--since takes an ISO 8601 time (2026-03-01T08:15:00Z), not '" + options.since +
                "'";
            out.Failed("usage", text);
            return ExitCode::Usage;
        }
    }
    const std::unique_ptr<StationStore> store = OpenStationDbReporting(global.stationDb, out);
    if (!store) {
        return ExitCode::StoreFailed;
    }
    const StoreResult<std::vector<ProductionRecord>> records = Select(*store, options, since);
    if (!records.Ok()) {
        ReportStoreFailure(out, global.stationDb, StoreStatus{records.outcome, records.message});
        return ExitCode::StoreFailed;
    }
    const bool jsonLines = options.format == "jsonl" || (options.format.empty() && out.Json());
    ExportRecords(records.value, jsonLines ? RecordFormat::JsonLines : RecordFormat::Csv,
                  std::cout);
    std::cout.flush();
    return std::cout ? ExitCode::Success : ExitCode::FileFailed;
}

}  // namespace

void AddRecordsCommand(CLI::App& app, CommandRun& run, const GlobalOptions& global) {
    auto options = std::make_shared<RecordsOptions>();
    CLI::App* command = app.add_subcommand(
        "records", "export the production record: one row per module attempt, oldest first");
    command->add_option("--since", options->since,
                        "only attempts that started at or after this ISO 8601 time");
    command->add_option("--format", options->format, "csv (default) or jsonl")
        ->check(CLI::IsMember({"csv", "jsonl"}));
    command->add_option("--order", options->order, "only the attempts of this work order");
    command
        ->add_option("--mac", options->mac,
                     "which module is this: every attempt on the module that had or was given "
                     "this MAC (station, port, time, order, configuration hash, outcome)")
        ->check(MacAddressValidator());
    command->callback([&run, &global, options] {
        run = [&global, options](Output& out) { return RunRecords(*options, global, out); };
    });
}
