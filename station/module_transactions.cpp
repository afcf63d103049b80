#include "station/module_transactions.h"

#include <algorithm>

namespace {

ModuleOutcome Fail(ModuleOutcome outcome, const PortOpening& opening, ModuleSteps& steps) {
    steps.Failed(outcome, opening);
    return outcome;
}

}  // namespace

ModuleOutcome OutcomeOfRead(ModuleReadOutcome read) {
    switch (read) {
        case ModuleReadOutcome::Read:
            return ModuleOutcome::Succeeded;
        case ModuleReadOutcome::PortWriteFailed:
            return ModuleOutcome::PortWriteFailed;
        case ModuleReadOutcome::PortReadFailed:
            return ModuleOutcome::PortReadFailed;
        case ModuleReadOutcome::NoAnswer:
            return ModuleOutcome::NoResponse;
        case ModuleReadOutcome::LengthMismatch:
            return ModuleOutcome::LengthMismatch;
        case ModuleReadOutcome::MagicMismatch:
            return ModuleOutcome::MagicMismatch;
        case ModuleReadOutcome::CrcMismatch:
            return ModuleOutcome::CrcMismatch;
    }
    return ModuleOutcome::PortReadFailed;
}

ModuleOutcome OutcomeOfWrite(ModuleWriteOutcome write) {
    switch (write) {
        case ModuleWriteOutcome::Acknowledged:
            return ModuleOutcome::Succeeded;
        case ModuleWriteOutcome::NotSent:
        case ModuleWriteOutcome::PortWriteFailed:
            return ModuleOutcome::PortWriteFailed;
        case ModuleWriteOutcome::PortReadFailed:
            return ModuleOutcome::NoResponse;
        case ModuleWriteOutcome::NotAcknowledged:
            return ModuleOutcome::NotAcknowledged;
    }
    return ModuleOutcome::NotAcknowledged;
}

bool SameBlock(const ConfigFrame& a, const ConfigFrame& b) {
    return std::equal(a.begin() + FrameOffset::kBlock, a.begin() + FrameOffset::kCrc,
                      b.begin() + FrameOffset::kBlock);
}

ModuleOutcome ReadModule(const PortOpener& open, ConfigFrame& frame, ModuleSteps& steps) {
    const PortOpening opening = open();
    if (!opening.Opened()) {
        return Fail(ModuleOutcome::OpenFailed, opening, steps);
    }
    const ModuleOutcome outcome = OutcomeOfRead(ReadModuleFrame(*opening.session, frame));
    if (outcome != ModuleOutcome::Succeeded) {
        return Fail(outcome, opening, steps);
    }
    steps.ModuleRead(frame);
    return outcome;
}

void CopyModuleIdentity(const ConfigFrame& moduleFrame, ConfigFrame& workFrame) {
    std::copy(moduleFrame.begin() + FrameOffset::kName,
              moduleFrame.begin() + FrameOffset::kIdentityEnd,
              workFrame.begin() + FrameOffset::kName);
}

ModuleOutcome WriteModule(const PortOpener& open, ConfigFrame& workFrame, ModuleSteps& steps) {
    const PortOpening opening = open();
    if (!opening.Opened()) {
        return Fail(ModuleOutcome::OpenFailed, opening, steps);
    }
    steps.BuildFrame(workFrame);
    SealFrame(workFrame);
    const ModuleOutcome written = OutcomeOfWrite(WriteModuleFrame(*opening.session, workFrame));
    if (written != ModuleOutcome::Succeeded) {
        return Fail(written, opening, steps);
    }
    steps.Written();
    return ModuleOutcome::Succeeded;
}
