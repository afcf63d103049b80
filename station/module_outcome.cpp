#include "station/module_outcome.h"

#include <array>

#include "model/config_frame.h"

namespace {

using O = ModuleOutcome;
using S = SlotState;

// Exit statuses, as cli/exit_codes.h names them.
constexpr int kSuccess = 0;
constexpr int kModuleFailed = 1;
constexpr int kUsage = 2;
constexpr int kPortUnavailable = 3;
constexpr int kVerifyFailed = 5;
constexpr int kStoreFailed = 6;

const std::array<OutcomeRow, 17>& Table() {
    static const std::array<OutcomeRow, 17> kTable{{
        {O::Succeeded, "ok", "", "Programmed", kSuccess, S::Done},
        {O::AlreadyProgrammed, "already_programmed", "",
         "Already programmed on this line; not written again (rework writes it again keeping its "
         "MAC)",
         kSuccess, S::AlreadyDone},
        {O::OpenFailed, "open_failed", "Failed to open the COM port!", "", kPortUnavailable,
         S::Failed},
        {O::PortWriteFailed, "port_write_failed", "Failed to write the COM port!", "",
         kModuleFailed, S::Failed},
        {O::PortReadFailed, "port_read_failed", "Failed to read  the COM port!", "", kModuleFailed,
         S::Failed},
        {O::NoResponse, "no_answer", "Module does not response!", "", kModuleFailed, S::Failed},
        {O::LengthMismatch, "wrong_length", FrameCheckMessage(FrameCheck::LengthMismatch), "",
         kModuleFailed, S::Failed},
        {O::MagicMismatch, "wrong_magic", FrameCheckMessage(FrameCheck::MagicMismatch), "",
         kModuleFailed, S::Failed},
        {O::CrcMismatch, "crc_error", FrameCheckMessage(FrameCheck::CrcMismatch), "", kModuleFailed,
         S::Failed},
        {O::NotAcknowledged, "not_acknowledged", "Failed to write the module!", "", kModuleFailed,
         S::Failed},
        {O::VerifyFailed, "verify_failed", "",
         "Verification failed: the module read back a block other than the one written",
         kVerifyFailed, S::Failed},
        {O::MacSuspect, "mac_suspect", "",
         "No acknowledgement and no read-back: the MAC is held out until a person checks the "
         "module",
         kModuleFailed, S::Failed},
        {O::MacRefused, "mac_refused", "", "The MAC given may not be written to this module",
         kUsage, S::Failed},
        {O::PoolEmpty, "pool_empty", "", "No MAC is left for this module: it was not written",
         kStoreFailed, S::Failed},
        {O::OrderComplete, "order_complete", "",
         "ORDER COMPLETE: the order has all its modules; this one was not written", kSuccess,
         S::Waiting},
        {O::OrderFull, "order_full", "",
         "Every module the order still needs is being programmed: this one was not written",
         kModuleFailed, S::Failed},
        {O::StoreFailed, "store_failed", "",
         "The station database failed: the module was not written", kStoreFailed, S::Failed},
    }};
    return kTable;
}

}  // namespace

const OutcomeRow& OutcomeOf(ModuleOutcome outcome) {
    for (const OutcomeRow& row : Table()) {
        if (row.outcome == outcome) {
            return row;
        }
    }
    static const OutcomeRow kUnknown{outcome,           "unknown",     "",
                                     "Unknown outcome", kModuleFailed, S::Failed};
    return kUnknown;
}

const char* ModuleOutcomeText(ModuleOutcome outcome) {
    return OutcomeOf(outcome).windowText;
}

const char* ModuleOutcomeReason(ModuleOutcome outcome) {
    return OutcomeOf(outcome).reason;
}

const char* ModuleOutcomeMessage(ModuleOutcome outcome) {
    const OutcomeRow& row = OutcomeOf(outcome);
    return *row.windowText != '\0' ? row.windowText : row.message;
}
