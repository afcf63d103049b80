#include "cli/station_db.h"

#include "model/mac_address.h"
#include "station/station_name.h"
#include "store/open_station_store.h"
#include "store/store_url.h"

void AddStationDbOptions(CLI::App& app, StationDbOptions& options) {
    app.add_option("--station-db", options.url,
                   "the production record and MAC pool: sqlite:PATH or postgresql://... "
                   "(default sqlite:$XDG_DATA_HOME/lvcfg/station.sqlite)")
        ->envname("LVCFG_STATION_DB");
    app.add_option("--station", options.station,
                   "this station's name in the record and the pool (default: the host name)");
}

std::string StationDbShown(const StationDbOptions& options) {
    return ShownStoreLocation(ResolveStationDbUrl(options.url));
}

std::unique_ptr<StationStore> OpenStationDbReporting(const StationDbOptions& options, Output& out) {
    StoreResult<std::unique_ptr<StationStore>> opened =
        OpenStationStore(ResolveStationDbUrl(options.url));
    if (!opened.Ok()) {
        ReportStoreFailure(out, options, StoreStatus{opened.outcome, opened.message});
        return nullptr;
    }
    return std::move(opened.value);
}

std::string StoreReasonWord(StoreOutcome outcome) {
    std::string word = StoreOutcomeName(outcome);
    for (char& c : word) {
        c = c == '-' ? '_' : c;
    }
    return word;
}

void ReportStoreFailure(Output& out, const StationDbOptions& options, const StoreStatus& status) {
    if (status.outcome == StoreOutcome::PoolEmpty) {
        const std::string text = "the MAC pool of " + StationDbShown(options) +
                                 " is empty; add MACs with 'lvcfg-cli pool add'";
        out.Failed("pool_empty", text);
        return;
    }
    const std::string text = "station database " + StationDbShown(options) + ": " + status.message;
    out.Failure({{"event", "failed"},
                 {"reason", "store_failed"},
                 {"outcome", StoreReasonWord(status.outcome)},
                 {"message", text}},
                text);
}

std::unique_ptr<SerializedStationStore> OpenRunStoreReporting(const StationDbOptions& options,
                                                              Output& out) {
    std::unique_ptr<StationStore> store = OpenStationDbReporting(options, out);
    return store ? std::make_unique<SerializedStationStore>(std::move(store)) : nullptr;
}

void ReportQuarantine(Output& out, const std::string& station, const QuarantineReport& report) {
    if (!report.quarantined.empty()) {
        JsonObject macs = JsonObject::array();
        std::string text = "station " + station + " left " +
                           std::to_string(report.quarantined.size()) +
                           " MAC(s) unfinished in a run that ended early; quarantined until a "
                           "person checks the module and runs 'lvcfg-cli pool release MAC':";
        for (const MacNumber mac : report.quarantined) {
            macs.push_back(FormatMacAddress(MacFromNumber(mac)));
            text += " " + macs.back().get<std::string>();
        }
        out.Failure({{"event", "quarantined"}, {"station", station}, {"macs", macs}}, text);
    }
    for (const ForeignReservation& held : report.otherHosts) {
        const std::string mac = FormatMacAddress(MacFromNumber(held.mac));
        const std::string text = "station " + station + " holds " + mac + " on host " + held.host +
                                 " (process " + std::to_string(held.pid) + ", " +
                                 std::to_string(held.ageMs / 1000) +
                                 " s ago); left alone: this host cannot tell whether it runs";
        out.Failure({{"event", "held_elsewhere"},
                     {"station", station},
                     {"mac", mac},
                     {"host", held.host},
                     {"pid", held.pid},
                     {"age_ms", held.ageMs}},
                    text);
    }
}

ExitCode ReportRunRefused(Output& out, const StationDbOptions& options,
                          const StoreStatus& refusal) {
    switch (refusal.outcome) {
        case StoreOutcome::MacInPool:
        case StoreOutcome::MacTaken:
            out.Failed("mac_refused", refusal.message);
            return ExitCode::Usage;
        case StoreOutcome::OrderInvalid:  // the order's block failed a file's checks
        case StoreOutcome::OrderExists:
        case StoreOutcome::OrderUnknown:
        case StoreOutcome::OrderNotOpen:
        case StoreOutcome::OrderFull:
            out.Failed(StoreReasonWord(refusal.outcome), refusal.message);
            return refusal.outcome == StoreOutcome::OrderInvalid ? ExitCode::FileFailed
                                                                 : ExitCode::Usage;
        default:
            break;
    }
    ReportStoreFailure(out, options, refusal);
    return ExitCode::StoreFailed;
}
