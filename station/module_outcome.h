#pragma once

// How an attempt on a module ended. Each front end gives it its own words from one table: the
// configuration window its status texts, the command line a reason word and an exit code, the
// station window a tile state.
enum class ModuleOutcome {
    Succeeded,
    AlreadyProgrammed,  // the module holds a MAC this line gave it: not written again
    OpenFailed,         // the port did not open (see PortOpening for why)
    PortWriteFailed,    // the request or the frame could not be handed to the port
    PortReadFailed,     // the port failed while the answer to "ATR0" was awaited
    NoResponse,         // nothing answered "ATR0", or the port failed while "ATOK" was awaited
    LengthMismatch,     // the answer to "ATR0" was not 518 bytes
    MagicMismatch,
    CrcMismatch,
    NotAcknowledged,  // the answer to the frame was not "ATOK", and the module kept its old block
    VerifyFailed,     // the module took a frame, but the block read back differs from the one sent
    MacSuspect,       // no acknowledgement, and no read-back told whether the module took it
    MacRefused,       // the MAC a person gave belongs to the pool or to another module
    PoolEmpty,        // no MAC left for the module: it was not written
    OrderComplete,    // the work order has its quantity (or was closed): the module was not written
    OrderFull,        // every module the order still needs is being programmed: not written
    StoreFailed,      // the station database failed: the module was not written
};

// What a tile of the station window shows of its slot.
enum class SlotState { Waiting, Reading, Writing, Verifying, Done, AlreadyDone, Failed };

// Everything the front ends say of one outcome.
struct OutcomeRow {
    ModuleOutcome outcome;
    const char* reason;      // one lower-case word for scripts and records: "no_answer"
    const char* windowText;  // the configuration window's exact status text; "" where it has none
    const char* message;     // for people, where the window has no text of its own
    int exitCode;            // lvcfg-cli's exit status
    SlotState tile;          // the station window's tile once the attempt has ended
};

[[nodiscard]] const OutcomeRow& OutcomeOf(ModuleOutcome outcome);

// The window's status text of an outcome ("Failed to read  the COM port!"); empty for
// Succeeded, which each command words itself, and for outcomes the window never meets.
[[nodiscard]] const char* ModuleOutcomeText(ModuleOutcome outcome);
// The outcome's reason word.
[[nodiscard]] const char* ModuleOutcomeReason(ModuleOutcome outcome);
// The text for people: the window's text where it has one, else the table's message.
[[nodiscard]] const char* ModuleOutcomeMessage(ModuleOutcome outcome);
