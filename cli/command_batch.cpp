// lvcfg-cli batch: programs many modules, from a list of ports in parallel or as they are
// plugged in, each with the next MAC.
#include <memory>
#include <set>
#include <vector>

#include "cli/arrival_feed.h"
#include "cli/batch_record_keeper.h"
#include "cli/batch_report.h"
#include "cli/command.h"
#include "cli/config_file.h"
#include "cli/live_lines.h"
#include "cli/stop_signals.h"
#include "cli/stoppable_feed.h"
#include "cli/watch_loop.h"
#include "link/announced_ports.h"
#include "station/mac_source.h"
#include "station/pool_mac_source.h"
#include "station/port_batch.h"

namespace {

constexpr std::chrono::milliseconds kLiveTick{200};

struct BatchOptions {
    std::string config;
    std::vector<std::string> ports;
    bool watch = false;
    std::string arrivalsFrom;
    std::string macStart;
    bool noVerify = false;
};

void ProgramListedPorts(const std::vector<std::string>& ports, PortBatch& batch,
                        BatchReport& report) {
    // An interrupt waits for the listed modules, each a second or so, then the summary comes.
    const StopSignals stop;
    std::set<std::string> listed;
    for (const std::string& port : ports) {
        if (!listed.insert(port).second) {
            report.Refused("port " + port + " is listed twice; it is programmed once");
        } else if (!batch.Start(port)) {
            report.Refused("port " + port + " is busy");
        }
    }
    while (!batch.WaitFor(kLiveTick)) {
        report.Tick();
    }
}

ExitCode WatchForModules(const BatchOptions& options, PortBatch& batch, BatchReport& report,
                         AnnouncedPorts& watched, const WatchStop& stop, Output& out) {
    std::string failure;
    std::unique_ptr<ArrivalFeed> arrivals = OpenArrivalFeed(options.arrivalsFrom, watched, failure);
    if (!arrivals) {
        out.Failure({{"event", "failed"}, {"reason", "no_watch"}, {"message", failure}}, failure);
        return ExitCode::PortUnavailable;
    }
    // A pool that stopped handing out MACs ends the watch: no module plugged in later is taken.
    StoppableFeed feed(std::move(arrivals), stop);
    const WatchEnd end = WatchPortChanges(
        feed,
        [&](const PortChange& change) {
            report.PortChanged(change.action, change.device);
            if (change.action == "add") {
                (void)batch.Start(change.device, PortBatch::WhenBusy::Queue);
            } else {
                batch.Forget(change.device);
            }
        },
        [&] {
            (void)batch.WaitFor(std::chrono::milliseconds(0));  // joins the threads that ended
            report.Tick();
        },
        kLiveTick);
    while (!batch.WaitFor(kLiveTick)) {
        report.Tick();
    }
    return end == WatchEnd::Failed ? ExitCode::PortUnavailable : ExitCode::Success;
}

ExitCode RunBatch(const BatchOptions& options, const GlobalOptions& global, Output& out) {
    const std::optional<ConfigFrame> frame = LoadConfigReporting(options.config, out);
    if (!frame) {
        return ExitCode::FileFailed;
    }
    // Every attempt is recorded, so no module is touched before the store is open.
    const std::unique_ptr<StationStore> store = OpenStationDbReporting(global.stationDb, out);
    if (!store) {
        return ExitCode::StoreFailed;
    }
    const bool fromPool = options.macStart.empty();
    if (fromPool && !QuarantineOwnUnfinished(*store, global.stationDb, out)) {
        return ExitCode::StoreFailed;
    }
    const bool verify = !options.noVerify;
    std::unique_ptr<LiveLines> live;
    if (TerminalStyleAllowed(out.Json())) {
        live = std::make_unique<LiveLines>(stdout);
    }
    BatchReport report(out, live.get(), verify);
    // Jobs resolve COMn texts without the watch's announcements: a watch hands them device
    // paths, and the announcements change while jobs run.
    const AnnouncedPorts fixed;
    std::unique_ptr<MacSource> macs;
    PoolMacSource* pool = nullptr;
    if (fromPool) {
        // A module that already holds a verified MAC of the pool keeps it.
        auto currentMac = [&fixed](const std::string& port) -> std::optional<MacAddress> {
            const ModuleReadResult read = ReadModuleWindowless(port, fixed);
            if (read.outcome != ModuleOutcome::Succeeded) {
                return std::nullopt;
            }
            return MacOfFrame(read.frame);
        };
        auto poolSource =
            std::make_unique<PoolMacSource>(*store, StationName(global.stationDb), currentMac);
        pool = poolSource.get();
        macs = std::move(poolSource);
    } else {
        macs = std::make_unique<MacSequence>(*ParseMacAddress(options.macStart));  // checked
    }
    WatchStop stopWatch;
    BatchRecordKeeper keeper(
        *store, pool, global.stationDb,
        ModuleAttempt{
            StationName(global.stationDb), {}, {}, options.config, 0, 0, std::nullopt, verify},
        out, [&stopWatch] { stopWatch.Request(); });
    ExitCode code = ExitCode::Success;
    {
        PortBatch batch(SettingsFromFrame(*frame), verify, *macs, fixed,
                        [&report, &keeper](const BatchEvent& event) {
                            if (keeper.OnBatchEvent(event)) {
                                report.OnBatchEvent(event);
                            }
                        });
        if (options.watch) {
            AnnouncedPorts watched;
            code = WatchForModules(options, batch, report, watched, stopWatch, out);
        } else {
            ProgramListedPorts(options.ports, batch, report);
        }
    }
    report.Finish();
    return Worse(Worse(code, report.Worst()), keeper.Worst());
}

}  // namespace

void AddBatchCommand(CLI::App& app, CommandRun& run, const GlobalOptions& global) {
    auto options = std::make_shared<BatchOptions>();
    CLI::App* command = app.add_subcommand(
        "batch", "program many modules: the listed ports at once, or every module plugged in");
    command->add_option("--config", options->config, "the .cfg file")->required();
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
                     "the first MAC (4C:56:00:00:00:01); without it MACs come from the pool")
        ->check(MacAddressValidator());
    command->add_flag("--no-verify", options->noVerify, "do not read the modules back");
    command->callback([&run, &global, options, ports, watch] {
        if (ports->count() + watch->count() == 0) {
            throw CLI::RequiredError("--ports or --watch");
        }
        run = [&global, options](Output& out) { return RunBatch(*options, global, out); };
    });
}
