#include "station/module_outcome.h"

#include "model/config_frame.h"

const char* ModuleOutcomeText(ModuleOutcome outcome) {
    switch (outcome) {
        case ModuleOutcome::OpenFailed:
            return "Failed to open the COM port!";
        case ModuleOutcome::PortWriteFailed:
            return "Failed to write the COM port!";
        case ModuleOutcome::PortReadFailed:
            return "Failed to read  the COM port!";
        case ModuleOutcome::NoResponse:
            return "Module does not response!";
        case ModuleOutcome::LengthMismatch:
            return FrameCheckMessage(FrameCheck::LengthMismatch);
        case ModuleOutcome::MagicMismatch:
            return FrameCheckMessage(FrameCheck::MagicMismatch);
        case ModuleOutcome::CrcMismatch:
            return FrameCheckMessage(FrameCheck::CrcMismatch);
        case ModuleOutcome::NotAcknowledged:
            return "Failed to write the module!";
        case ModuleOutcome::Succeeded:
        case ModuleOutcome::VerifyFailed:
            break;
    }
    return "";
}

const char* ModuleOutcomeReason(ModuleOutcome outcome) {
    switch (outcome) {
        case ModuleOutcome::Succeeded:
            return "ok";
        case ModuleOutcome::OpenFailed:
            return "open_failed";
        case ModuleOutcome::PortWriteFailed:
            return "port_write_failed";
        case ModuleOutcome::PortReadFailed:
            return "port_read_failed";
        case ModuleOutcome::NoResponse:
            return "no_answer";
        case ModuleOutcome::LengthMismatch:
            return "wrong_length";
        case ModuleOutcome::MagicMismatch:
            return "wrong_magic";
        case ModuleOutcome::CrcMismatch:
            return "crc_error";
        case ModuleOutcome::NotAcknowledged:
            return "not_acknowledged";
        case ModuleOutcome::VerifyFailed:
            return "verify_failed";
    }
    return "unknown";
}
