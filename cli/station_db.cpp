#include "cli/station_db.h"

#include <unistd.h>

#include <climits>
#include <cstdlib>

#include "model/mac_address.h"
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

std::string StationName(const StationDbOptions& options) {
    if (!options.station.empty()) {
        return options.station;
    }
    char host[HOST_NAME_MAX + 1] = {};
    if (::gethostname(host, sizeof host - 1) != 0 || host[0] == '\0') {
        return "localhost";
    }
    return host;
}

std::string StationDbShown(const StationDbOptions& options) {
    return ShownStoreLocation(ResolveStationDbUrl(options.url));
}

std::unique_ptr<StationStore> OpenStationDbReporting(const StationDbOptions& options, Output& out) {
    StoreResult<std::unique_ptr<StationStore>> opened = OpenStationStore(options.url);
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
        out.Failure({{"event", "failed"}, {"reason", "pool_empty"}, {"message", text}}, text);
        return;
    }
    const std::string text = "station database " + StationDbShown(options) + ": " + status.message;
    out.Failure({{"event", "failed"},
                 {"reason", "store_failed"},
                 {"outcome", StoreReasonWord(status.outcome)},
                 {"message", text}},
                text);
}

bool QuarantineOwnUnfinished(StationStore& store, const StationDbOptions& options, Output& out) {
    const std::string station = StationName(options);
    const StoreResult<QuarantineReport> report = store.QuarantineUnfinished(station);
    if (!report.Ok()) {
        ReportStoreFailure(out, options, StoreStatus{report.outcome, report.message});
        return false;
    }
    const std::vector<MacNumber>& quarantined = report.value.quarantined;
    if (quarantined.empty()) {
        return true;
    }
    JsonObject macs = JsonObject::array();
    std::string text = "station " + station + " left " + std::to_string(quarantined.size()) +
                       " MAC(s) unfinished in a run that ended early; quarantined until a "
                       "person checks the module and runs 'lvcfg-cli pool release MAC':";
    for (const MacNumber mac : quarantined) {
        macs.push_back(FormatMacAddress(MacFromNumber(mac)));
        text += " " + macs.back().get<std::string>();
    }
    out.Failure({{"event", "quarantined"}, {"station", station}, {"macs", macs}}, text);
    return true;
}
