// lvcfg-cli records: the production record as CSV or JSON lines, one row per module attempt.
#include <iostream>
#include <optional>

#include "cli/command.h"
#include "store/iso_time.h"
#include "store/record_export.h"

namespace {

struct RecordsOptions {
    std::string since;
    std::string format;  // "csv" or "jsonl"; empty: jsonl with --json, else csv
};

ExitCode RunRecords(const RecordsOptions& options, const GlobalOptions& global, Output& out) {
    std::optional<std::int64_t> since;
    if (!options.since.empty()) {
        since = ParseIsoUtc(options.since);
        if (!since) {
            const std::string text =
                "--since takes an ISO 8601 time (2026-03-01T08:15:00Z), not '" + options.since +
                "'";
            out.Failure({{"event", "failed"}, {"reason", "usage"}, {"message", text}}, text);
            return ExitCode::Usage;
        }
    }
    const std::unique_ptr<StationStore> store = OpenStationDbReporting(global.stationDb, out);
    if (!store) {
        return ExitCode::StoreFailed;
    }
    const StoreResult<std::vector<ProductionRecord>> records = store->Records(since);
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
    command->callback([&run, &global, options] {
        run = [&global, options](Output& out) { return RunRecords(*options, global, out); };
    });
}
