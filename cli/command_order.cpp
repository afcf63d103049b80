// lvcfg-cli order: work orders in the station database: a .cfg block and a quantity that the
// stations of a line program together, counted by the store.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <optional>

#include "cli/command.h"
#include "cli/config_file.h"
#include "cli/listing_output.h"
#include "model/mac_address.h"
#include "station/frame_listing.h"
#include "station/order_config.h"
#include "store/iso_time.h"

namespace {

struct OrderOptions {
    std::string name;
    std::string config;
    std::int64_t quantity = 0;
    std::string output;
};

std::string CreatorName() {
    const char* user =
        std::getenv("USER") != nullptr ? std::getenv("USER") : std::getenv("LOGNAME");
    char host[256] = {};
    (void)::gethostname(host, sizeof host - 1);
    return std::string(user != nullptr && *user != '\0' ? user : "unknown") + "@" + host;
}

JsonObject OrderJson(const OrderRow& order) {
    return {{"event", "order"},
            {"order", order.name},
            {"state", OrderStateName(order.state)},
            {"quantity", order.quantity},
            {"verified", order.verified},
            {"in_flight", order.inFlight},
            {"failed", order.failed},
            {"remaining", std::max<std::int64_t>(order.quantity - order.verified, 0)},
            {"config_sha256", order.configSha256},
            {"created_by", order.createdBy},
            {"created", FormatIsoUtc(order.createdMs)}};
}

std::string OrderText(const OrderRow& order) {
    return order.name + ": " + OrderStateName(order.state) + ", " + std::to_string(order.verified) +
           " of " + std::to_string(order.quantity) + " verified, " +
           std::to_string(order.inFlight) + " in flight, " + std::to_string(order.failed) +
           " failed; created " + FormatIsoUtc(order.createdMs) + " by " + order.createdBy +
           "; sha256 " + order.configSha256;
}

// Checked before the store is asked, so that nothing is written and the message is plain.
bool CheckNewOrder(const OrderOptions& options, Output& out) {
    std::string problem;
    if (!IsOrderName(options.name)) {
        problem = "'" + options.name + "' is no order name: use 1 to " +
                  std::to_string(kOrderNameMax) +
                  " letters, digits, '.', '_' and '-', not starting with '-' or '.'";
    } else if (options.quantity < 1) {
        problem = "--quantity must be 1 or more, not " + std::to_string(options.quantity);
    }
    if (!problem.empty()) {
        out.Failed("usage", problem);
    }
    return problem.empty();
}

ExitCode RunCreate(const OrderOptions& options, const GlobalOptions& global, Output& out) {
    if (!CheckNewOrder(options, out)) {
        return ExitCode::Usage;
    }
    const std::optional<ConfigFrame> frame = LoadConfigReporting(options.config, out);
    if (!frame) {
        return ExitCode::FileFailed;
    }
    const std::unique_ptr<StationStore> store = OpenStationDbReporting(global.stationDb, out);
    if (!store) {
        return ExitCode::StoreFailed;
    }
    const NewOrder order =
        NewOrderOf(options.name, *frame, options.quantity, options.config, CreatorName());
    if (const StoreStatus created = store->CreateOrder(order); !created.Ok()) {
        return ReportRunRefused(out, global.stationDb, created);
    }
    out.Result({{"event", "order_created"},
                {"order", order.name},
                {"quantity", order.quantity},
                {"config_sha256", order.configSha256}},
               "order " + order.name + " created: " + std::to_string(order.quantity) +
                   " module(s) of " + options.config + " (sha256 " + order.configSha256 + ")");
    return ExitCode::Success;
}

ExitCode RunList(const GlobalOptions& global, Output& out) {
    const std::unique_ptr<StationStore> store = OpenStationDbReporting(global.stationDb, out);
    if (!store) {
        return ExitCode::StoreFailed;
    }
    const StoreResult<std::vector<OrderRow>> orders = store->Orders();
    if (!orders.Ok()) {
        return ReportRunRefused(out, global.stationDb, {orders.outcome, orders.message});
    }
    for (const OrderRow& order : orders.value) {
        out.Result(OrderJson(order), OrderText(order));
    }
    if (orders.value.empty()) {
        out.Text("no orders (create one with 'lvcfg-cli order create')");
    }
    return ExitCode::Success;
}

// The MACs the order's verified modules were given, as their records name them.
std::vector<std::string> MacsUsed(StationStore& store, const std::string& order) {
    RecordQuery query;
    query.order = order;
    query.outcome = "ok";
    query.limit = kRecordQueryLimitMax;
    std::vector<std::string> macs;
    for (const StoredRecord& stored : store.FindRecords(query).value) {
        macs.push_back(stored.record.macWritten);
    }
    return {macs.rbegin(), macs.rend()};
}

// The store, and the order named with its block checked, or the exit code after reporting
// why there is none.
struct OpenedOrder {
    std::unique_ptr<StationStore> store;
    std::optional<OrderConfig> config;
    ExitCode failed = ExitCode::StoreFailed;
};

OpenedOrder OpenOrderReporting(const OrderOptions& options, const GlobalOptions& global,
                               Output& out) {
    OpenedOrder opened{OpenStationDbReporting(global.stationDb, out), std::nullopt};
    if (!opened.store) {
        return opened;
    }
    StoreResult<OrderConfig> config = LoadOrderConfig(*opened.store, options.name);
    if (!config.Ok()) {
        opened.failed = ReportRunRefused(out, global.stationDb, {config.outcome, config.message});
    } else {
        opened.config = std::move(config.value);
    }
    return opened;
}

ExitCode RunShow(const OrderOptions& options, const GlobalOptions& global, Output& out) {
    const OpenedOrder opened = OpenOrderReporting(options, global, out);
    if (!opened.config) {
        return opened.failed;
    }
    const OrderConfig* config = &*opened.config;
    const OrderDetail& order = config->order;
    const std::vector<std::string> macs = MacsUsed(*opened.store, options.name);
    JsonObject event = OrderJson(order.row);
    event["config_file"] = order.configFile;
    event["macs_used"] = macs;
    std::string text = OrderText(order.row) + "\nconfig file: " + order.configFile;
    for (const PoolRange& range : order.ranges) {
        text += "\nrange " + FormatMacAddress(MacFromNumber(range.start)) + " (" +
                std::to_string(range.count) + ")";
    }
    text += "\nMACs used:";
    for (const std::string& mac : macs) {
        text += " " + mac;
    }
    const FrameListing listing = ListFrame(config->frame);
    out.Result(ListingJson(event, listing), text + "\n" + ListingText(listing));
    return ExitCode::Success;
}

ExitCode RunClose(const OrderOptions& options, const GlobalOptions& global, Output& out) {
    const std::unique_ptr<StationStore> store = OpenStationDbReporting(global.stationDb, out);
    if (!store) {
        return ExitCode::StoreFailed;
    }
    if (const StoreStatus closed = store->CloseOrder(options.name); !closed.Ok()) {
        return ReportRunRefused(out, global.stationDb, closed);
    }
    out.Result({{"event", "order_closed"}, {"order", options.name}},
               "order " + options.name + " closed: no station programs it any more");
    return ExitCode::Success;
}

ExitCode RunExport(const OrderOptions& options, const GlobalOptions& global, Output& out) {
    const OpenedOrder opened = OpenOrderReporting(options, global, out);
    if (!opened.config) {
        return opened.failed;
    }
    const OrderConfig* config = &*opened.config;
    if (!SaveConfigReporting(options.output, config->frame, out)) {
        return ExitCode::FileFailed;
    }
    out.Result({{"event", "order_exported"}, {"order", options.name}, {"file", options.output}},
               "order " + options.name + " written to " + options.output);
    return ExitCode::Success;
}

void AddNamed(CLI::App& command, OrderOptions& options) {
    command.add_option("name", options.name, "the order's name")->required();
}

}  // namespace

void AddOrderCommand(CLI::App& app, CommandRun& run, const GlobalOptions& global) {
    auto options = std::make_shared<OrderOptions>();
    CLI::App* order = app.add_subcommand(
        "order", "work orders: a .cfg block and a quantity that the stations of a line program");
    order->require_subcommand(1);
    const auto when = [&run, &global, options](
                          CLI::App* command,
                          ExitCode (*what)(const OrderOptions&, const GlobalOptions&, Output&)) {
        command->callback([&run, &global, options, what] {
            run = [&global, options, what](Output& out) { return what(*options, global, out); };
        });
    };

    CLI::App* create = order->add_subcommand("create", "create an open order from a .cfg file");
    AddNamed(*create, *options);
    create->add_option("--config", options->config, "the .cfg file")->required();
    create->add_option("--quantity", options->quantity, "how many modules")->required();
    when(create, &RunCreate);

    CLI::App* list = order->add_subcommand("list", "every order with its counts, newest first");
    list->callback(
        [&run, &global] { run = [&global](Output& out) { return RunList(global, out); }; });

    CLI::App* show = order->add_subcommand(
        "show", "an order's counts, ranges, MACs used and every setting of its block");
    AddNamed(*show, *options);
    when(show, &RunShow);

    CLI::App* close = order->add_subcommand("close", "close an order: no station programs it");
    AddNamed(*close, *options);
    when(close, &RunClose);

    CLI::App* exported = order->add_subcommand("export", "write an order's block as a .cfg file");
    AddNamed(*exported, *options);
    exported->add_option("-o,--output", options->output, "the .cfg file to write")->required();
    when(exported, &RunExport);
}
