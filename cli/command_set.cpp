// lvcfg-cli set: changes settings of a .cfg file by field name, each value within its range.
#include <cmath>
#include <string_view>
#include <utility>
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
                      const std::string& message, JsonObject details = JsonObject::object()) {
    JsonObject event{
        {"event", "failed"}, {"assignment", assignment}, {"reason", reason}, {"message", message}};
    event.update(details);
    out.Failure(event, message);
}

void RefuseUnknownField(Output& out, const std::string& assignment, const std::string& name) {
    const std::vector<std::string_view> nearest = NearestFieldNames(name);
    std::string hint = nearest.empty() ? " (the fields are listed in lvcfg-cli(1))" : "?)";
    for (std::size_t i = nearest.size(); i-- > 0;) {
        const char* before = i == 0 ? " (did you mean " : (i + 1 == nearest.size() ? " or " : ", ");
        hint = before + std::string(nearest[i]) + hint;
    }
    RefuseAssignment(out, assignment, "unknown_field", "unknown field '" + name + "'" + hint,
                     {{"suggestions", nearest}});
}

// A whole number as such, so that a range of whole numbers reads as one.
JsonObject JsonNumber(double value) {
    return value == std::trunc(value) ? JsonObject(static_cast<long long>(value))
                                      : JsonObject(value);
}

void RefuseOutOfRange(Output& out, const std::string& assignment, const SettingField& field,
                      const std::string& value, SettingBounds bounds) {
    RefuseAssignment(out, assignment, "out_of_range",
                     "value '" + value + "' for field '" + std::string(field.name) +
                         "' is outside its range " + RangeText(bounds),
                     {{"low", JsonNumber(bounds.low)}, {"high", JsonNumber(bounds.high)}});
}

// The field of one FIELD=VALUE, with the value stored; null after reporting why it was refused.
const SettingField* Apply(const std::string& assignment, ConfigSettings& settings, Output& out) {
    const auto parsed = ParseAssignment(assignment);
    if (!parsed) {
        RefuseAssignment(out, assignment, "malformed_assignment",
                         "malformed assignment '" + assignment + "' (write FIELD=VALUE)");
        return nullptr;
    }
    const auto& [name, value] = *parsed;
    const SettingField* field = FindSettingField(name);
    if (field == nullptr) {
        RefuseUnknownField(out, assignment, name);
        return nullptr;
    }
    switch (SetFieldFromText(settings, *field, value)) {
        case SetFieldOutcome::Set:
            return field;
        case SetFieldOutcome::ReadOnly:
            RefuseAssignment(out, assignment, "read_only_field",
                             "field '" + name + "' cannot be set");
            return nullptr;
        case SetFieldOutcome::OutOfRange:
            RefuseOutOfRange(out, assignment, *field, value, *BoundsOf(*field, settings));
            return nullptr;
        case SetFieldOutcome::UnreadableValue:
            break;
    }
    RefuseAssignment(
        out, assignment, "unreadable_value",
        "unreadable value '" + value + "' for field '" + name + "' (" + ValuesTaken(*field) + ")");
    return nullptr;
}

// The values set stay inside their ranges; the window's adjustment is for what a person typed
// into a window, not for a value a script asked for. Checked once all are set, as a timeout's
// range follows the backoff tick set beside it.
bool AllInsideTheirRanges(const std::vector<std::pair<std::string, const SettingField*>>& set,
                          const ConfigSettings& settings, Output& out) {
    bool inside = true;
    for (const auto& [assignment, field] : set) {
        if (const auto bounds = OutsideItsRange(settings, *field)) {
            const auto value = ParseAssignment(assignment)->second;
            RefuseOutOfRange(out, assignment, *field, value, *bounds);
            inside = false;
        }
    }
    return inside;
}

ExitCode RunSet(const SetOptions& options, Output& out) {
    const std::optional<ConfigFrame> frame = LoadConfigReporting(options.file, out);
    if (!frame) {
        return ExitCode::FileFailed;
    }
    ConfigSettings settings = SettingsFromFrame(*frame);
    std::vector<std::pair<std::string, const SettingField*>> set;
    bool allApplied = true;
    for (const std::string& assignment : options.assignments) {
        const SettingField* field = Apply(assignment, settings, out);
        if (field != nullptr) {
            set.emplace_back(assignment, field);
        }
        allApplied = field != nullptr && allApplied;
    }
    if (!allApplied || !AllInsideTheirRanges(set, settings, out)) {
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
        "set", "change fields of a .cfg file by name, each value within its range");
    command->add_option("file", options->file, "the .cfg file")->required();
    command->add_option("assignments", options->assignments, "FIELD=VALUE ...")->required();
    command->add_option("--output", options->output, "save to this file instead");
    RunWhenParsed(*command, run, options, &RunSet);
}
