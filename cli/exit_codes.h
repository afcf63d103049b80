#pragma once

#include "station/module_outcome.h"

// The exit status of lvcfg-cli. Scripts rely on these numbers; when a run meets several
// failures it ends with the highest of their codes.
enum class ExitCode : int {
    Success = 0,
    ModuleFailed = 1,     // no answer, a rejected answer, no acknowledgement; diff: a difference
    Usage = 2,            // a malformed command line, MAC, field name or field value, or a MAC
                          // that may not be used
    PortUnavailable = 3,  // a port could not be opened
    FileFailed = 4,       // a file could not be read or written, or was refused
    VerifyFailed = 5,     // the module acknowledged but read back something else
    StoreFailed = 6,      // the station database failed or its MAC pool ran out
};

[[nodiscard]] constexpr int ExitStatus(ExitCode code) {
    return static_cast<int>(code);
}

[[nodiscard]] constexpr ExitCode Worse(ExitCode a, ExitCode b) {
    return ExitStatus(a) >= ExitStatus(b) ? a : b;
}

// The exit code a module exchange ends with (from the outcome table of station/).
[[nodiscard]] ExitCode ExitCodeOfOutcome(ModuleOutcome outcome);

// The text of `--help` and the man page about the codes above.
inline constexpr const char* kExitCodesHelp =
    "Exit codes:\n"
    "  0  success (also for modules already programmed, which are left alone)\n"
    "  1  a module failed (no answer, rejected answer, not acknowledged, MAC suspect);\n"
    "     diff: files differ\n"
    "  2  usage error (unknown option or field, malformed MAC or value, a MAC that belongs\n"
    "     to the pool or to another module, a start MAC at or below the last one sent,\n"
    "     an odd order name or quantity, an unknown, existing, complete or closed order)\n"
    "  3  a port could not be opened\n"
    "  4  a file could not be read or written, or was refused (an order's block too)\n"
    "  5  verification failed\n"
    "  6  the station database failed or no MAC was left (no module written without a\n"
    "     committed reservation)\n"
    "A run with several failures exits with the highest of their codes.\n";
