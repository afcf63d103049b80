// lvcfg-cli read: a module's identity and every setting, optionally saved as a .cfg file.
#include "cli/command.h"
#include "cli/config_file.h"
#include "cli/listing_output.h"
#include "cli/module_report.h"
#include "station/frame_listing.h"
#include "station/windowless_program.h"

namespace {

struct ReadOptions {
    std::string port;
    std::string output;
};

ExitCode RunRead(const ReadOptions& options, Output& out) {
    const ModuleReadResult read = ReadModuleWindowless(options.port);
    if (read.outcome != ModuleOutcome::Succeeded) {
        ModuleFailure failure{options.port, read.outcome, std::nullopt, {}, {}};
        if (read.outcome == ModuleOutcome::OpenFailed) {
            failure.portDetail = read.port.detail;
        }
        out.Failure(FailureJson(failure), FailureText(failure));
        return ExitCodeOfOutcome(read.outcome);
    }
    const FrameListing listing = ListFrame(read.frame);
    out.Result(ListingJson({{"event", "module"}, {"port", options.port}}, listing),
               ListingText(listing));
    if (options.output.empty()) {
        return ExitCode::Success;
    }
    // The module's own frame, sealed as a file holds it: the window opens it with the same
    // values and the module's identity.
    ConfigFrame sealed = read.frame;
    SealFrame(sealed);
    return SaveConfigReporting(options.output, sealed, out) ? ExitCode::Success
                                                            : ExitCode::FileFailed;
}

}  // namespace

void AddReadCommand(CLI::App& app, CommandRun& run) {
    auto options = std::make_shared<ReadOptions>();
    CLI::App* command = app.add_subcommand("read", "read a module: its identity and every field");
    command->add_option("--port", options->port, "the module's port")->required();
    command->add_option("--output", options->output, "also save what was read as a .cfg file");
    RunWhenParsed(*command, run, options, &RunRead);
}
