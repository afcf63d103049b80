// lvcfg-cli write: programs one module with a .cfg file's settings, keeping its identity.
#include "cli/command.h"
#include "cli/config_file.h"
#include "cli/module_report.h"
#include "link/announced_ports.h"
#include "station/windowless_program.h"

namespace {

struct WriteOptions {
    std::string port;
    std::string config;
    std::string mac;
    bool noVerify = false;
};

ExitCode RunWrite(const WriteOptions& options, Output& out) {
    const std::optional<ConfigFrame> frame = LoadConfigReporting(options.config, out);
    if (!frame) {
        return ExitCode::FileFailed;
    }
    ModuleJob job{options.port, SettingsFromFrame(*frame), std::nullopt, !options.noVerify, {}};
    if (!options.mac.empty()) {
        job.mac = ParseMacAddress(options.mac);  // checked while the command line was read
    }
    const AnnouncedPorts announced;
    const std::optional<MacAddress> givenMac = job.mac;
    const ModuleJobResult result = ProgramModuleWindowless(std::move(job), announced);
    for (const std::string& warning : result.warnings) {
        out.Note(warning);
    }
    // Without --mac the module was meant to keep its own, once it was read.
    std::optional<MacAddress> meant = givenMac;
    if (!meant && result.outcome != ModuleOutcome::OpenFailed &&
        CheckFrameContent(result.moduleFrame) == FrameCheck::Accepted) {
        meant = MacOfFrame(result.moduleFrame);
    }
    return ReportJob(out, options.port, result, meant, !options.noVerify);
}

}  // namespace

void AddWriteCommand(CLI::App& app, CommandRun& run) {
    auto options = std::make_shared<WriteOptions>();
    CLI::App* command = app.add_subcommand(
        "write", "program one module with a .cfg file's settings, keeping its identity");
    command->add_option("--port", options->port, "the module's port")->required();
    command->add_option("--config", options->config, "the .cfg file")->required();
    command->add_option("--mac", options->mac, "give the module this MAC (4C:56:00:00:00:01)")
        ->check(MacAddressValidator());
    command->add_flag("--no-verify", options->noVerify, "do not read the module back");
    RunWhenParsed(*command, run, options, &RunWrite);
}
