// lvcfg-cli stations: the rows the production programs keep of themselves in the store, with
// "offline" for a station that has not refreshed its row for three intervals.
#include "cli/command.h"
#include "store/iso_time.h"

namespace {

std::string StateShown(const StationRow& row, std::int64_t nowMs) {
    return StationRowIsOffline(row, nowMs) ? "offline" : StationStateName(row.state);
}

ExitCode RunStations(const GlobalOptions& global, Output& out) {
    const std::unique_ptr<StationStore> store = OpenStationDbReporting(global.stationDb, out);
    if (!store) {
        return ExitCode::StoreFailed;
    }
    const StoreResult<std::vector<StationRow>> rows = store->Stations();
    if (!rows.Ok()) {
        ReportStoreFailure(out, global.stationDb, {rows.outcome, rows.message});
        return ExitCode::StoreFailed;
    }
    const std::int64_t now = StoreClockNow();
    for (const StationRow& row : rows.value) {
        const std::string state = StateShown(row, now);
        std::string text = row.station + ": " + state + ", " + row.program + " " + row.version +
                           " on " + row.host + (row.order.empty() ? "" : ", order " + row.order) +
                           ", " + std::to_string(row.done) + " done, " +
                           std::to_string(row.failed) + " failed, last seen " +
                           FormatIsoUtc(row.lastSeenMs);
        if (!row.lastFailureReason.empty()) {
            text += ", last failure " + row.lastFailureReason + " at " +
                    FormatIsoUtc(row.lastFailureMs);
        }
        out.Result({{"event", "station"},
                    {"station", row.station},
                    {"state", state},
                    {"host", row.host},
                    {"program", row.program},
                    {"version", row.version},
                    {"order", row.order},
                    {"started", FormatIsoUtc(row.startedMs)},
                    {"last_seen", FormatIsoUtc(row.lastSeenMs)},
                    {"last_seen_ms", row.lastSeenMs},
                    {"done", row.done},
                    {"failed", row.failed},
                    {"last_failure_reason", row.lastFailureReason},
                    {"last_failure",
                     row.lastFailureMs != 0 ? FormatIsoUtc(row.lastFailureMs) : std::string()}},
                   text);
    }
    if (rows.value.empty()) {
        out.Text("no station has run on this store yet");
    }
    return ExitCode::Success;
}

}  // namespace

void AddStationsCommand(CLI::App& app, CommandRun& run, const GlobalOptions& global) {
    CLI::App* command = app.add_subcommand(
        "stations",
        "the production programs that ran on this store: running, stopping, stopped, or offline "
        "when a row has not been refreshed for three intervals");
    command->callback(
        [&run, &global] { run = [&global](Output& out) { return RunStations(global, out); }; });
}
