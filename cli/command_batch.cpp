// lvcfg-cli batch: programs many modules, from a list of ports in parallel or as they are
// plugged in, each with a MAC of its own; the production run of station/ keeps the rules.
#include <memory>
#include <set>
#include <vector>

#include "cli/arrival_feed.h"
#include "cli/batch_report.h"
#include "cli/command.h"
#include "cli/config_file.h"
#include "cli/live_lines.h"
#include "cli/stop_signals.h"
#include "cli/stoppable_feed.h"
#include "cli/watch_loop.h"
#include "link/announced_ports.h"
#include "station/production_run.h"

namespace {

constexpr std::chrono::milliseconds kLiveTick{200};

struct BatchOptions {
    std::string config;
    std::string order;
    std::vector<std::string> ports;
    bool watch = false;
    std::string arrivalsFrom;
    std::string macStart;
    bool noVerify = false;
    bool rework = false;
    int ackTimeoutMs = static_cast<int>(kProductionAckLimit.count());
};

void ProgramListedPorts(const std::vector<std::string>& ports, ProductionRun& run,
                        BatchReport& report) {
    // An interrupt waits for the listed modules, each a second or so, then the summary comes.
    const StopSignals stop;
    std::set<std::string> listed;
    for (const std::string& port : ports) {
        if (!listed.insert(port).second) {
            report.Refused("port " + port + " is listed twice; it is programmed once");
        } else if (!run.Program(port)) {
            report.Refused("port " + port + " is busy");
        }
    }
    while (!run.WaitFor(kLiveTick)) {
        report.Tick();
    }
}

ExitCode WatchForModules(const BatchOptions& options, ProductionRun& run, BatchReport& report,
                         const WatchStop& stop, Output& out) {
    AnnouncedPorts watched;
    std::string failure;
    std::unique_ptr<ArrivalFeed> arrivals = OpenArrivalFeed(options.arrivalsFrom, watched, failure);
    if (!arrivals) {
        out.Failed("no_watch", failure);
        return ExitCode::PortUnavailable;
    }
    // A store that failed ends the watch: no module plugged in later is touched.
    StoppableFeed feed(std::move(arrivals), stop);
    const WatchEnd end = WatchPortChanges(
        feed,
        [&](const PortChange& change) {
            report.PortChanged(change.action, change.device);
            if (change.action == "add") {
                (void)run.Program(change.device, PortBatch::WhenBusy::Queue);
            } else {
                run.Forget(change.device);
            }
        },
        [&] {
            (void)run.WaitFor(std::chrono::milliseconds(0));  // joins the threads that ended
            report.Tick();
        },
        kLiveTick);
    run.BeginStop();
    while (!run.WaitFor(kLiveTick)) {
        report.Tick();
    }
    return end == WatchEnd::Failed ? ExitCode::PortUnavailable : ExitCode::Success;
}

// With an order, the run takes the order's block from the store instead of `frame`.
RunSetup SetupOf(const BatchOptions& options, const GlobalOptions& global,
                 const std::optional<ConfigFrame>& frame) {
    RunSetup setup;
    if (frame) {
        setup.attempt.settings = SettingsFromFrame(*frame);
    }
    setup.order = options.order;
    setup.keepsStationRow = true;
    setup.program = "lvcfg-cli batch";
    setup.version = LVCFG_VERSION;
    setup.attempt.verify = !options.noVerify;
    setup.attempt.ackLimit = std::chrono::milliseconds(options.ackTimeoutMs);
    setup.configFile = options.config;
    setup.station = global.stationDb.station;
    setup.rework = options.rework;
    if (!options.macStart.empty()) {
        setup.macs = {MacPlan::From::StartMac, *ParseMacAddress(options.macStart)};  // checked
    }
    return setup;
}

void ReportOrderComplete(Output& out, const std::string& order) {
    out.Result({{"event", "order_complete"}, {"order", order}},
               "ORDER COMPLETE: order " + order + " has all its modules; this station stops");
}

ExitCode RunBatch(const BatchOptions& options, const GlobalOptions& global, Output& out) {
    std::optional<ConfigFrame> frame;
    if (options.order.empty()) {
        frame = LoadConfigReporting(options.config, out);
        if (!frame) {
            return ExitCode::FileFailed;
        }
    }
    // Every attempt is recorded, so no module is touched before the store is open.
    const std::unique_ptr<SerializedStationStore> store =
        OpenRunStoreReporting(global.stationDb, out);
    if (!store) {
        return ExitCode::StoreFailed;
    }
    std::unique_ptr<LiveLines> live;
    if (TerminalStyleAllowed(out.Json())) {
        live = std::make_unique<LiveLines>(stdout);
    }
    BatchReport report(out, live.get(), !options.noVerify, options.macStart.empty(),
                       global.stationDb);
    WatchStop stopWatch;
    QuarantineReport quarantine;
    StoreResult<std::unique_ptr<ProductionRun>> opened = ProductionRun::Open(
        *store, SetupOf(options, global, *frame),
        [&report, &stopWatch](const RunEvent& event) {
            // An order that has its modules ends the watch as a failed store does.
            if (event.kind == RunEventKind::OrderComplete) {
                stopWatch.Request();
                return;
            }
            report.OnRunEvent(event);
            if (event.kind == RunEventKind::Ended && !event.kept->Ok()) {
                stopWatch.Request();
            }
        },
        &quarantine);
    if (!opened.Ok()) {
        return ReportRunRefused(out, global.stationDb, {opened.outcome, opened.message});
    }
    ProductionRun& run = *opened.value;
    ReportQuarantine(out, run.Station(), quarantine);
    ExitCode code = ExitCode::Success;
    if (options.watch) {
        code = WatchForModules(options, run, report, stopWatch, out);
    } else {
        ProgramListedPorts(options.ports, run, report);
    }
    run.LookAtOrder();
    const RunSummary summary = run.Summary();
    report.Finish(summary);
    if (summary.orderComplete) {
        ReportOrderComplete(out, options.order);
    }
    return Worse(code, report.Worst());
}

}  // namespace

void AddBatchCommand(CLI::App& app, CommandRun& run, const GlobalOptions& global) {
    auto options = std::make_shared<BatchOptions>();
    CLI::App* command = app.add_subcommand(
        "batch", "program many modules: the listed ports at once, or every module plugged in");
    CLI::Option* config = command->add_option("--config", options->config, "the .cfg file");
    CLI::Option* order = command->add_option(
        "--order", options->order,
        "program this work order: its block from the store, its MACs from the pool under its "
        "count; the station stops once the order is complete");
    config->excludes(order);
    CLI::Option* ports =
        command->add_option("--ports", options->ports, "P1,P2,... at once")->delimiter(',');
    CLI::Option* watch = command->add_flag("--watch", options->watch,
                                           "program every module plugged in, until "
                                           "interrupted (Ctrl+C)");
    ports->excludes(watch);
    // For tests and benchmarks: arrivals come as "add PATH"/"remove PATH" lines from a file or
    // FIFO instead of udev, and the watch ends at its end.
    command->add_option("--arrivals-from", options->arrivalsFrom)->group("")->needs(watch);
    command
        ->add_option("--mac-start", options->macStart,
                     "the first MAC (4C:56:00:00:00:01), then on by one with every MAC sent; "
                     "without it MACs come from the pool")
        ->check(MacAddressValidator())
        ->excludes(order);
    command->add_flag("--no-verify", options->noVerify, "do not read the modules back");
    command->add_flag("--rework", options->rework,
                      "write modules programmed on this line before again, keeping their MAC");
    command
        ->add_option("--ack-timeout", options->ackTimeoutMs,
                     "how long to wait for a module's acknowledgement once the frame has left, "
                     "in ms (default 1000)")
        ->check(CLI::Range(1, 60000));
    command->callback([&run, &global, options, ports, watch, config, order] {
        if (ports->count() + watch->count() == 0) {
            throw CLI::RequiredError("--ports or --watch");
        }
        if (config->count() + order->count() == 0) {
            throw CLI::RequiredError("--config or --order");
        }
        run = [&global, options](Output& out) { return RunBatch(*options, global, out); };
    });
}
