#pragma once

#include <functional>
#include <memory>
#include <string>

#include <CLI/CLI.hpp>

#include "cli/exit_codes.h"
#include "cli/output.h"
#include "cli/station_db.h"

// What the chosen command does once the command line has been read.
using CommandRun = std::function<ExitCode(Output&)>;

// Options that every command accepts, before or after the command's name.
struct GlobalOptions {
    bool json = false;
    StationDbOptions stationDb;
};

// Each command adds its subcommand to `app`; when that subcommand is the one parsed, it sets
// `run` to what it will do. One file per command.
void AddPortsCommand(CLI::App& app, CommandRun& run);
void AddReadCommand(CLI::App& app, CommandRun& run);
void AddShowCommand(CLI::App& app, CommandRun& run);
void AddDiffCommand(CLI::App& app, CommandRun& run);
void AddSetCommand(CLI::App& app, CommandRun& run);
void AddWriteCommand(CLI::App& app, CommandRun& run, const GlobalOptions& global);
void AddBatchCommand(CLI::App& app, CommandRun& run, const GlobalOptions& global);
void AddDoctorCommand(CLI::App& app, CommandRun& run);
// The store's commands; `global` is read when the command runs.
void AddPoolCommand(CLI::App& app, CommandRun& run, const GlobalOptions& global);
void AddRecordsCommand(CLI::App& app, CommandRun& run, const GlobalOptions& global);
void AddOrderCommand(CLI::App& app, CommandRun& run, const GlobalOptions& global);
void AddStationsCommand(CLI::App& app, CommandRun& run, const GlobalOptions& global);

// Sets `run` from `options` when `command` is the subcommand parsed.
template <typename Options>
void RunWhenParsed(CLI::App& command, CommandRun& run, std::shared_ptr<Options> options,
                   ExitCode (*what)(const Options&, Output&)) {
    command.callback([&run, options, what] {
        run = [options, what](Output& out) { return what(*options, out); };
    });
}

// A CLI11 check that takes "4C:56:00:00:00:01" only.
[[nodiscard]] CLI::Validator MacAddressValidator();
