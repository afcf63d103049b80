#include "station/module_exchange.h"

#include <algorithm>

#include "link/module_exchange.h"

namespace {

using Clock = std::chrono::steady_clock;

std::chrono::milliseconds Since(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
}

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

// A failed wait for "ATOK" has always been reported as a module that does not respond.
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

ModuleOutcome Fail(ModuleOutcome outcome, const PortOpening& opening, ModuleSteps& steps) {
    steps.Failed(outcome, opening);
    return outcome;
}

ModuleOutcome VerifyWrite(SerialSession& session, const ConfigFrame& sent, ProgramReport& report) {
    const ModuleReadOutcome read = ReadModuleFrame(session, report.readBack);
    if (read != ModuleReadOutcome::Read || !SameBlock(sent, report.readBack)) {
        return ModuleOutcome::VerifyFailed;
    }
    return ModuleOutcome::Succeeded;
}

}  // namespace

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

ModuleOutcome WriteModule(const PortOpener& open, ConfigFrame& workFrame, ModuleSteps& steps,
                          ProgramOptions options, ProgramReport* report) {
    ProgramReport local;
    ProgramReport& times = report != nullptr ? *report : local;

    const PortOpening opening = open();
    if (!opening.Opened()) {
        return Fail(ModuleOutcome::OpenFailed, opening, steps);
    }
    steps.BuildFrame(workFrame);
    SealFrame(workFrame);

    steps.Writing();
    Clock::time_point start = Clock::now();
    const ModuleOutcome written = OutcomeOfWrite(WriteModuleFrame(*opening.session, workFrame));
    times.writeTime = Since(start);
    if (written != ModuleOutcome::Succeeded) {
        return Fail(written, opening, steps);
    }
    times.acknowledged = true;
    if (options.verify) {
        steps.Verifying();
        start = Clock::now();
        const ModuleOutcome verified = VerifyWrite(*opening.session, workFrame, times);
        times.verifyTime = Since(start);
        if (verified != ModuleOutcome::Succeeded) {
            return Fail(verified, opening, steps);
        }
    }
    steps.Written();
    return ModuleOutcome::Succeeded;
}

ModuleOutcome ProgramModule(const PortOpener& open, ConfigFrame& moduleFrame,
                            ConfigFrame& workFrame, ModuleSteps& steps, ProgramOptions options,
                            ProgramReport* report) {
    ProgramReport local;
    ProgramReport& times = report != nullptr ? *report : local;

    const Clock::time_point start = Clock::now();
    const ModuleOutcome read = ReadModule(open, moduleFrame, steps);
    times.readTime = Since(start);
    if (read != ModuleOutcome::Succeeded) {
        return read;
    }
    CopyModuleIdentity(moduleFrame, workFrame);
    return WriteModule(open, workFrame, steps, options, &times);
}
