// lvcfg-cli write: programs one module with a .cfg file's settings, keeping its identity.
#include "cli/command.h"
#include "cli/config_file.h"
#include "cli/module_report.h"
#include "station/production_run.h"

namespace {

struct WriteOptions {
    std::string port;
    std::string config;
    std::string mac;
    bool noVerify = false;
    int ackTimeoutMs = static_cast<int>(kProductionAckLimit.count());
};

ExitCode RunWrite(const WriteOptions& options, const GlobalOptions& global, Output& out) {
    const std::optional<ConfigFrame> frame = LoadConfigReporting(options.config, out);
    if (!frame) {
        return ExitCode::FileFailed;
    }
    // The attempt is recorded, so the module is not touched before the store is open.
    const std::unique_ptr<SerializedStationStore> store =
        OpenRunStoreReporting(global.stationDb, out);
    if (!store) {
        return ExitCode::StoreFailed;
    }
    // A person's command for one module: it is written even when it was programmed before
    // (recorded as rework), with the MAC given or its own.
    RunSetup setup;
    setup.attempt.settings = SettingsFromFrame(*frame);
    setup.attempt.verify = !options.noVerify;
    setup.attempt.ackLimit = std::chrono::milliseconds(options.ackTimeoutMs);
    setup.configFile = options.config;
    setup.station = global.stationDb.station;
    setup.writeProgrammed = true;
    setup.macs.from = MacPlan::From::ModulesOwn;
    if (!options.mac.empty()) {
        setup.macs = {MacPlan::From::GivenMac, *ParseMacAddress(options.mac)};  // checked
    }
    ExitCode code = ExitCode::Success;
    StoreResult<std::unique_ptr<ProductionRun>> opened =
        ProductionRun::Open(*store, std::move(setup), [&](const RunEvent& event) {
            if (event.kind != RunEventKind::Ended) {
                return;
            }
            for (const std::string& warning : event.result->warnings) {
                out.Note(warning);
            }
            code = ReportAttempt(out, options.port, *event.result, !options.noVerify);
            if (!event.kept->Ok()) {
                ReportStoreFailure(out, global.stationDb, *event.kept);
                code = Worse(code, ExitCode::StoreFailed);
            }
        });
    if (!opened.Ok()) {
        return ReportRunRefused(out, global.stationDb, {opened.outcome, opened.message});
    }
    (void)opened.value->Program(options.port);
    opened.value->Wait();
    return code;
}

}  // namespace

void AddWriteCommand(CLI::App& app, CommandRun& run, const GlobalOptions& global) {
    auto options = std::make_shared<WriteOptions>();
    CLI::App* command = app.add_subcommand(
        "write", "program one module with a .cfg file's settings, keeping its identity");
    command->add_option("--port", options->port, "the module's port")->required();
    command->add_option("--config", options->config, "the .cfg file")->required();
    command
        ->add_option("--mac", options->mac,
                     "give the module this MAC (4C:56:00:00:00:01); one of the pool's, or one "
                     "given to another module, is refused")
        ->check(MacAddressValidator());
    command->add_flag("--no-verify", options->noVerify, "do not read the module back");
    command
        ->add_option("--ack-timeout", options->ackTimeoutMs,
                     "how long to wait for the acknowledgement once the frame has left, in ms "
                     "(default 1000)")
        ->check(CLI::Range(1, 60000));
    command->callback([&run, &global, options] {
        run = [&global, options](Output& out) { return RunWrite(*options, global, out); };
    });
}
