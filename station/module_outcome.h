#pragma once

// How an exchange with a module ended. Each front end gives it its own words: the window its
// status texts and boxes, the command line a reason word and an exit code, the station window
// a tile state.
enum class ModuleOutcome {
    Succeeded,
    OpenFailed,       // the port did not open (see PortOpening for why)
    PortWriteFailed,  // the request or the frame could not be handed to the port
    PortReadFailed,   // the port failed while the answer to "ATR0" was awaited
    NoResponse,       // nothing answered "ATR0", or the port failed while "ATOK" was awaited
    LengthMismatch,   // the answer to "ATR0" was not 518 bytes
    MagicMismatch,
    CrcMismatch,
    NotAcknowledged,  // the answer to the frame was not "ATOK"
    VerifyFailed,     // acknowledged, but the block read back differs from the block sent
};

// The window's status text of an outcome ("Failed to read  the COM port!"); empty for
// Succeeded, which each command words itself, and for VerifyFailed, which the window never meets.
[[nodiscard]] const char* ModuleOutcomeText(ModuleOutcome outcome);

// One lower-case word per outcome for scripts and records: "ok", "open_failed", "no_answer", ...
[[nodiscard]] const char* ModuleOutcomeReason(ModuleOutcome outcome);
