#include "cli/exit_codes.h"

ExitCode ExitCodeOfOutcome(ModuleOutcome outcome) {
    switch (outcome) {
        case ModuleOutcome::Succeeded:
            return ExitCode::Success;
        case ModuleOutcome::OpenFailed:
            return ExitCode::PortUnavailable;
        case ModuleOutcome::VerifyFailed:
            return ExitCode::VerifyFailed;
        case ModuleOutcome::PortWriteFailed:
        case ModuleOutcome::PortReadFailed:
        case ModuleOutcome::NoResponse:
        case ModuleOutcome::LengthMismatch:
        case ModuleOutcome::MagicMismatch:
        case ModuleOutcome::CrcMismatch:
        case ModuleOutcome::NotAcknowledged:
            break;
    }
    return ExitCode::ModuleFailed;
}
