#include "cli/cli_app.h"

#include <csignal>
#include <cstdio>

#include "cli/command.h"
#include "model/mac_address.h"

CLI::Validator MacAddressValidator() {
    return CLI::Validator(
        [](const std::string& text) -> std::string {
            if (ParseMacAddress(text)) {
                return "";
            }
            return "malformed MAC address '" + text + "' (write it as 4C:56:00:00:00:01)";
        },
        "MAC", "MAC address");
}

namespace {

constexpr const char* kDescription =
    "Reads, writes and programs radio modules and .cfg files without a window.\n"
    "A port is a device path (/dev/ttyUSB0, /dev/serial/by-path/...) or COMn (COM1 is "
    "/dev/ttyUSB0, else /dev/ttyACM0, else /dev/ttyS0).";

// CLI11 says only that a command is needed when the one given is unknown; name it.
void NameUnknownCommand(const CLI::App& app, int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.empty() || arg[0] == '-') {
            continue;
        }
        const auto commands = app.get_subcommands(
            [&arg](const CLI::App* command) { return command->get_name() == arg; });
        if (commands.empty()) {
            std::fprintf(stderr, "unknown command '%s'\n", arg.c_str());
        }
        return;
    }
}

}  // namespace

int RunCli(int argc, char** argv) {
    // A reader that goes away (lvcfg-cli batch ... | head) ends the output, not the run: the
    // modules in hand finish and are recorded.
    std::signal(SIGPIPE, SIG_IGN);
    CLI::App app(kDescription, "lvcfg-cli");
    app.footer(kExitCodesHelp);
    app.require_subcommand(1);
    // Subcommands made after this inherit it, so global options may follow the command name.
    app.fallthrough();
    app.set_version_flag("--version", std::string("lvcfg-cli ") + LVCFG_VERSION);

    GlobalOptions global;
    app.add_flag("--json", global.json, "one JSON object per line on standard output");
    AddStationDbOptions(app, global.stationDb);

    CommandRun run;
    AddPortsCommand(app, run);
    AddReadCommand(app, run);
    AddShowCommand(app, run);
    AddDiffCommand(app, run);
    AddSetCommand(app, run);
    AddWriteCommand(app, run, global);
    AddBatchCommand(app, run, global);
    AddDoctorCommand(app, run);
    AddPoolCommand(app, run, global);
    AddRecordsCommand(app, run, global);
    AddOrderCommand(app, run, global);
    AddStationsCommand(app, run, global);

    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& e) {
        return app.exit(e);  // --help, --version
    } catch (const CLI::ParseError& e) {
        if (app.get_subcommands().empty()) {
            NameUnknownCommand(app, argc, argv);
        }
        (void)app.exit(e);
        return ExitStatus(ExitCode::Usage);
    }
    if (!run) {
        return ExitStatus(ExitCode::Usage);
    }
    Output out(global.json, stdout, stderr);
    return ExitStatus(run(out));
}
