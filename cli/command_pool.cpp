// lvcfg-cli pool: the MAC pool in the station database: add a range, show where it stands,
// release a quarantined MAC.
#include <cstdint>

#include "cli/command.h"
#include "model/mac_address.h"
#include "store/iso_time.h"

namespace {

struct PoolOptions {
    std::string start;
    std::uint64_t count = 0;
    std::string mac;
    std::string order;
};

// A refused range or release is the operator's mistake; anything else is the store's.
ExitCode StoreStepFailed(Output& out, const GlobalOptions& global, const StoreStatus& status) {
    switch (status.outcome) {
        case StoreOutcome::RangeInvalid:
        case StoreOutcome::RangeOverlaps:
        case StoreOutcome::NotQuarantined:
        case StoreOutcome::OrderUnknown:
            out.Failed(StoreReasonWord(status.outcome), status.message);
            return ExitCode::Usage;
        default:
            ReportStoreFailure(out, global.stationDb, status);
            return ExitCode::StoreFailed;
    }
}

// The store as it stands: looking at the pool changes nothing in it (a station's start
// quarantines what it left unfinished).
std::unique_ptr<StationStore> OpenPool(const GlobalOptions& global, Output& out) {
    return OpenStationDbReporting(global.stationDb, out);
}

ExitCode RunAdd(const PoolOptions& options, const GlobalOptions& global, Output& out) {
    const std::unique_ptr<StationStore> store = OpenPool(global, out);
    if (!store) {
        return ExitCode::StoreFailed;
    }
    const MacAddress start = *ParseMacAddress(options.start);  // checked while parsing
    const StoreStatus added = store->AddRange(MacToNumber(start), options.count, options.order);
    if (!added.Ok()) {
        return StoreStepFailed(out, global, added);
    }
    out.Result({{"event", "pool_added"},
                {"start", FormatMacAddress(start)},
                {"count", options.count},
                {"order", options.order}},
               "added " + std::to_string(options.count) + " MAC(s) from " +
                   FormatMacAddress(start) + " to the pool" +
                   (options.order.empty() ? "" : " for order " + options.order));
    return ExitCode::Success;
}

std::string StatusText(const PoolStatus& status) {
    std::string text;
    for (const PoolRange& range : status.ranges) {
        const MacNumber last = range.start + range.count - 1;
        text += "range " + FormatMacAddress(MacFromNumber(range.start)) + " - " +
                FormatMacAddress(MacFromNumber(last)) + " (" + std::to_string(range.count) + ")" +
                (range.order.empty() ? "" : " for order " + range.order) + "\n";
    }
    if (status.ranges.empty()) {
        text += "no ranges (add MACs with 'lvcfg-cli pool add')\n";
    }
    text += "free " + std::to_string(status.free) + ", reserved " +
            std::to_string(status.reserved) + ", used " + std::to_string(status.used) +
            ", quarantined " + std::to_string(status.quarantined) + ", suspect " +
            std::to_string(status.suspect);
    for (const HeldMac& held : status.held) {
        text += "\n" + std::string(MacStateName(held.state)) + " " +
                FormatMacAddress(MacFromNumber(held.mac)) + " since " + FormatIsoUtc(held.since) +
                ": " + held.reason;
    }
    if (!status.held.empty()) {
        text += "\nrelease a MAC with 'lvcfg-cli pool release MAC' once its module is checked";
    }
    return text;
}

JsonObject HeldJson(const std::vector<HeldMac>& held) {
    JsonObject list = JsonObject::array();
    for (const HeldMac& mac : held) {
        list.push_back({{"mac", FormatMacAddress(MacFromNumber(mac.mac))},
                        {"state", MacStateName(mac.state)},
                        {"since", FormatIsoUtc(mac.since)},
                        {"reason", mac.reason}});
    }
    return list;
}

ExitCode RunStatus(const GlobalOptions& global, Output& out) {
    const std::unique_ptr<StationStore> store = OpenPool(global, out);
    if (!store) {
        return ExitCode::StoreFailed;
    }
    const StoreResult<PoolStatus> status = store->Status();
    if (!status.Ok()) {
        return StoreStepFailed(out, global, StoreStatus{status.outcome, status.message});
    }
    JsonObject ranges = JsonObject::array();
    for (const PoolRange& range : status.value.ranges) {
        JsonObject shown{{"start", FormatMacAddress(MacFromNumber(range.start))},
                         {"count", range.count}};
        if (!range.order.empty()) {
            shown["order"] = range.order;
        }
        ranges.push_back(shown);
    }
    out.Result({{"event", "pool"},
                {"ranges", ranges},
                {"free", status.value.free},
                {"reserved", status.value.reserved},
                {"used", status.value.used},
                {"quarantined", status.value.quarantined},
                {"suspect", status.value.suspect},
                {"held", HeldJson(status.value.held)}},
               StatusText(status.value));
    return ExitCode::Success;
}

ExitCode RunRelease(const PoolOptions& options, const GlobalOptions& global, Output& out) {
    const std::unique_ptr<StationStore> store = OpenPool(global, out);
    if (!store) {
        return ExitCode::StoreFailed;
    }
    const MacAddress mac = *ParseMacAddress(options.mac);  // checked while parsing
    StoreStatus released = store->Release(MacToNumber(mac));
    if (!released.Ok()) {
        released.message = FormatMacAddress(mac) + ": " + released.message;
        return StoreStepFailed(out, global, released);
    }
    out.Result({{"event", "released"}, {"mac", FormatMacAddress(mac)}},
               FormatMacAddress(mac) + " is back in the pool");
    return ExitCode::Success;
}

}  // namespace

void AddPoolCommand(CLI::App& app, CommandRun& run, const GlobalOptions& global) {
    auto options = std::make_shared<PoolOptions>();
    CLI::App* pool = app.add_subcommand("pool", "the MAC pool in the station database");
    pool->require_subcommand(1);

    CLI::App* add = pool->add_subcommand("add", "add a range of MACs to the pool");
    add->add_option("--start", options->start, "the first MAC (4C:56:00:00:00:01)")
        ->required()
        ->check(MacAddressValidator());
    add->add_option("--count", options->count, "how many MACs")
        ->required()
        ->check(CLI::Range(std::uint64_t{1}, kMacNumberLimit));
    add->add_option("--order", options->order,
                    "the range serves this work order alone (default: runs without an order and "
                    "orders without ranges of their own)");
    add->callback([&run, &global, options] {
        run = [&global, options](Output& out) { return RunAdd(*options, global, out); };
    });

    CLI::App* status = pool->add_subcommand(
        "status",
        "the ranges, how many MACs are free, reserved, used, quarantined and suspect, and why "
        "each MAC held out is held");
    status->callback(
        [&run, &global] { run = [&global](Output& out) { return RunStatus(global, out); }; });

    CLI::App* release = pool->add_subcommand(
        "release",
        "give a quarantined or suspect MAC back to the pool once its module has been checked");
    release->add_option("mac", options->mac, "the MAC (4C:56:00:00:00:01)")
        ->required()
        ->check(MacAddressValidator());
    release->callback([&run, &global, options] {
        run = [&global, options](Output& out) { return RunRelease(*options, global, out); };
    });
}
