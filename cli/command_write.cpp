// lvcfg-cli write: programs one module with a .cfg file's settings, keeping its identity.
#include "cli/command.h"
#include "cli/config_file.h"
#include "cli/module_report.h"
#include "cli/port_by_path.h"
#include "link/announced_ports.h"
#include "station/module_record.h"
#include "station/windowless_program.h"

namespace {

struct WriteOptions {
    std::string port;
    std::string config;
    std::string mac;
    bool noVerify = false;
};

ExitCode RunWrite(const WriteOptions& options, const GlobalOptions& global, Output& out) {
    const std::optional<ConfigFrame> frame = LoadConfigReporting(options.config, out);
    if (!frame) {
        return ExitCode::FileFailed;
    }
    // The attempt is recorded, so the module is not touched before the store is open.
    const std::unique_ptr<StationStore> store = OpenStationDbReporting(global.stationDb, out);
    if (!store) {
        return ExitCode::StoreFailed;
    }
    ModuleAttempt attempt{StationName(global.stationDb),
                          options.port,
                          {},
                          options.config,
                          RecordClockNow(),
                          0,
                          std::nullopt,
                          !options.noVerify};
    ModuleJob job{options.port, SettingsFromFrame(*frame), std::nullopt, !options.noVerify, {}};
    if (!options.mac.empty()) {
        job.mac = ParseMacAddress(options.mac);  // checked while the command line was read
    }
    const AnnouncedPorts announced;
    const std::optional<MacAddress> givenMac = job.mac;
    const ModuleJobResult result = ProgramModuleWindowless(std::move(job), announced);
    attempt.timeEnd = RecordClockNow();
    attempt.mac = givenMac;
    attempt.portByPath =
        PortByPathName(result.port.device.empty() ? options.port : result.port.device);
    const StoreStatus recorded = store->AddRecord(RecordOfJob(attempt, result));
    for (const std::string& warning : result.warnings) {
        out.Note(warning);
    }
    // Without --mac the module was meant to keep its own, once it was read.
    std::optional<MacAddress> meant = givenMac;
    if (!meant && result.outcome != ModuleOutcome::OpenFailed &&
        CheckFrameContent(result.moduleFrame) == FrameCheck::Accepted) {
        meant = MacOfFrame(result.moduleFrame);
    }
    const ExitCode code = ReportJob(out, options.port, result, meant, !options.noVerify);
    if (!recorded.Ok()) {
        ReportStoreFailure(out, global.stationDb, recorded);
        return Worse(code, ExitCode::StoreFailed);
    }
    return code;
}

}  // namespace

void AddWriteCommand(CLI::App& app, CommandRun& run, const GlobalOptions& global) {
    auto options = std::make_shared<WriteOptions>();
    CLI::App* command = app.add_subcommand(
        "write", "program one module with a .cfg file's settings, keeping its identity");
    command->add_option("--port", options->port, "the module's port")->required();
    command->add_option("--config", options->config, "the .cfg file")->required();
    command->add_option("--mac", options->mac, "give the module this MAC (4C:56:00:00:00:01)")
        ->check(MacAddressValidator());
    command->add_flag("--no-verify", options->noVerify, "do not read the module back");
    command->callback([&run, &global, options] {
        run = [&global, options](Output& out) { return RunWrite(*options, global, out); };
    });
}
