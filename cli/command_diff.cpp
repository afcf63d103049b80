// lvcfg-cli diff: the settings that differ between two .cfg files, or a file and a module.
#include "cli/command.h"
#include "cli/config_file.h"
#include "cli/listing_output.h"
#include "cli/module_report.h"
#include "station/frame_listing.h"
#include "station/windowless_program.h"

namespace {

struct DiffOptions {
    std::string fileA;
    std::string fileB;
    std::string port;
};

// The second frame: file B or the module on the port; nothing after reporting a failure.
std::optional<ConfigFrame> SecondFrame(const DiffOptions& options, Output& out, ExitCode& code) {
    if (options.port.empty()) {
        code = ExitCode::FileFailed;
        return LoadConfigReporting(options.fileB, out);
    }
    const ModuleReadResult read = ReadModuleWindowless(options.port);
    if (read.outcome == ModuleOutcome::Succeeded) {
        return read.frame;
    }
    ModuleFailure failure{options.port, read.outcome, std::nullopt, {}, {}};
    if (read.outcome == ModuleOutcome::OpenFailed) {
        failure.portDetail = read.port.detail;
    }
    out.Failure(FailureJson(failure), FailureText(failure));
    code = ExitCodeOfOutcome(read.outcome);
    return std::nullopt;
}

ExitCode RunDiff(const DiffOptions& options, Output& out) {
    const std::optional<ConfigFrame> a = LoadConfigReporting(options.fileA, out);
    if (!a) {
        return ExitCode::FileFailed;
    }
    ExitCode failed = ExitCode::Success;
    const std::optional<ConfigFrame> b = SecondFrame(options, out, failed);
    if (!b) {
        return failed;
    }
    const std::string nameB = options.port.empty() ? options.fileB : options.port;
    const std::vector<ValueDifference> differences = DifferingValues(*a, *b);
    for (const ValueDifference& difference : differences) {
        const JsonObject event{{"event", "difference"},
                               {"field", difference.key},
                               {"a", FieldValueJson(difference.a)},
                               {"b", FieldValueJson(difference.b)}};
        out.Result(event, difference.key + ": " + FieldValueText(difference.a) + " -> " +
                              FieldValueText(difference.b));
    }
    if (out.Json()) {
        out.Result({{"event", "diff"},
                    {"a", options.fileA},
                    {"b", nameB},
                    {"differences", differences.size()}},
                   "");
    }
    return differences.empty() ? ExitCode::Success : ExitCode::ModuleFailed;
}

}  // namespace

void AddDiffCommand(CLI::App& app, CommandRun& run) {
    auto options = std::make_shared<DiffOptions>();
    CLI::App* command =
        app.add_subcommand("diff",
                           "the fields that differ between two .cfg files, or a file and a module\n"
                           "(exit 0: the same, 1: something differs)");
    command->add_option("a", options->fileA, "the first .cfg file")->required();
    CLI::Option* fileB = command->add_option("b", options->fileB, "the second .cfg file");
    CLI::Option* port =
        command->add_option("--port", options->port, "compare with the module on this port");
    fileB->excludes(port);
    command->callback([&run, options, fileB, port] {
        if (fileB->count() + port->count() == 0) {
            throw CLI::RequiredError("a second .cfg file or --port");
        }
        run = [options](Output& out) { return RunDiff(*options, out); };
    });
}
