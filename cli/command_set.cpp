// lvcfg-cli set: changes settings of a .cfg file by field name, with the window's range checks.
#include <vector>

#include "cli/command.h"
#include "cli/config_file.h"
#include "model/setting_field.h"
#include "station/setting_values.h"
#include "station/windowless_program.h"

namespace {

struct SetOptions {
    std::string file;
    std::vector<std::string> assignments;
    std::string output;
};

void RefuseAssignment(Output& out, const std::string& assignment, const char* reason,
                      const std::string& message) {
    const JsonObject event{
        {"event", "failed"}, {"assignment", assignment}, {"reason", reason}, {"message", message}};
    out.Failure(event, message);
}

// Applies one FIELD=VALUE; false after reporting why it was refused.
bool Apply(const std::string& assignment, ConfigSettings& settings, Output& out) {
    const auto parsed = ParseAssignment(assignment);
    if (!parsed) {
        RefuseAssignment(out, assignment, "malformed_assignment",
                         "malformed assignment '" + assignment + "' (write FIELD=VALUE)");
        return false;
    }
    const auto& [name, value] = *parsed;
    const SettingField* field = FindSettingField(name);
    if (field == nullptr) {
        RefuseAssignment(out, assignment, "unknown_field", "unknown field '" + name + "'");
        return false;
    }
    switch (SetFieldFromText(settings, *field, value)) {
        case SetFieldOutcome::Set:
            return true;
        case SetFieldOutcome::ReadOnly:
            RefuseAssignment(out, assignment, "read_only_field",
                             "field '" + name + "' cannot be set");
            return false;
        case SetFieldOutcome::UnreadableValue:
            break;
    }
    RefuseAssignment(out, assignment, "unreadable_value",
                     "unreadable value '" + value + "' for field '" + name + "'");
    return false;
}

ExitCode RunSet(const SetOptions& options, Output& out) {
    const std::optional<ConfigFrame> frame = LoadConfigReporting(options.file, out);
    if (!frame) {
        return ExitCode::FileFailed;
    }
    ConfigSettings settings = SettingsFromFrame(*frame);
    bool allApplied = true;
    for (const std::string& assignment : options.assignments) {
        allApplied = Apply(assignment, settings, out) && allApplied;
    }
    if (!allApplied) {
        return ExitCode::Usage;  // nothing is written
    }
    // The file's own frame is the base of the build, so its identity bytes stay as they were.
    // Built as the window builds with its advanced panel open, where the timing fields are
    // the user's: hidden, the build would put the data rates' defaults over the timing fields
    // of the file, and a timing value set here would be lost without a word.
    ConfigFrame built = *frame;
    std::vector<std::string> warnings;
    BuildSealedFrame(settings, built, FrameBuildOptions{.advancedShown = true}, warnings);
    for (const std::string& warning : warnings) {
        out.Note(warning);
    }
    const std::string& target = options.output.empty() ? options.file : options.output;
    if (!SaveConfigReporting(target, built, out)) {
        return ExitCode::FileFailed;
    }
    out.Result({{"event", "saved"}, {"file", target}, {"warnings", warnings}}, "saved " + target);
    return ExitCode::Success;
}

}  // namespace

void AddSetCommand(CLI::App& app, CommandRun& run) {
    auto options = std::make_shared<SetOptions>();
    CLI::App* command = app.add_subcommand(
        "set", "change fields of a .cfg file by name, with the window's range checks");
    command->add_option("file", options->file, "the .cfg file")->required();
    command->add_option("assignments", options->assignments, "FIELD=VALUE ...")->required();
    command->add_option("--output", options->output, "save to this file instead");
    RunWhenParsed(*command, run, options, &RunSet);
}
