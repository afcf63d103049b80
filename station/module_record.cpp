#include "station/module_record.h"

#include <chrono>
#include <span>

#include "station/module_outcome.h"
#include "store/sha256.h"

namespace {

// Whether the job got as far as an accepted frame of the module. A failed port write or a
// silent port can end either the read or the write; the frame read tells which.
bool ModuleWasRead(const ModuleJobResult& result) {
    switch (result.outcome) {
        case ModuleOutcome::OpenFailed:
        case ModuleOutcome::PortReadFailed:
        case ModuleOutcome::LengthMismatch:
        case ModuleOutcome::MagicMismatch:
        case ModuleOutcome::CrcMismatch:
            return false;
        case ModuleOutcome::PortWriteFailed:
        case ModuleOutcome::NoResponse:
            return CheckFrameContent(result.moduleFrame) == FrameCheck::Accepted;
        case ModuleOutcome::Succeeded:
        case ModuleOutcome::NotAcknowledged:
        case ModuleOutcome::VerifyFailed:
            break;
    }
    return true;
}

}  // namespace

ProductionRecord RecordOfJob(const ModuleAttempt& attempt, const ModuleJobResult& result) {
    ProductionRecord record;
    record.timeStart = attempt.timeStart;
    record.timeEnd = attempt.timeEnd;
    record.station = attempt.station;
    record.port = attempt.port;
    record.portByPath = attempt.portByPath;
    record.configFile = attempt.configFile;
    const bool succeeded = result.outcome == ModuleOutcome::Succeeded;
    record.outcome = succeeded ? "ok" : "failed";
    record.reason = ModuleOutcomeReason(result.outcome);
    if (attempt.mac) {
        record.macWritten = FormatMacAddress(*attempt.mac);
    } else if (result.report.acknowledged) {
        record.macWritten = FormatMacAddress(MacOfFrame(result.sent));
    }
    if (result.outcome != ModuleOutcome::OpenFailed) {
        record.readMs = result.report.readTime.count();
    }
    // A module that failed before its frame was accepted may have answered with anything.
    if (ModuleWasRead(result)) {
        const FrameIdentity identity = IdentityOfFrame(result.moduleFrame);
        record.moduleName = identity.name;
        record.moduleVersion = identity.version;
        record.moduleType = identity.type;
        record.macBefore = FormatMacAddress(identity.mac);
        record.writeMs = result.report.writeTime.count();
    }
    if (result.report.acknowledged) {
        const std::span<const std::uint8_t> block(result.sent.data() + FrameOffset::kBlock,
                                                  kBlockSize);
        record.configSha256 = Sha256Hex(block);
        if (attempt.verify) {
            record.verified = succeeded;
            record.verifyMs = result.report.verifyTime.count();
        }
    }
    return record;
}

std::int64_t RecordClockNow() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}
