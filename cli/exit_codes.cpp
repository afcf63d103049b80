#include "cli/exit_codes.h"

ExitCode ExitCodeOfOutcome(ModuleOutcome outcome) {
    return static_cast<ExitCode>(OutcomeOf(outcome).exitCode);
}
