#include "station/module_record.h"

#include <chrono>
#include <span>

#include "station/module_outcome.h"
#include "store/sha256.h"

namespace {

// The 512-byte block a module stores: the frame without its magic and its CRC.
constexpr std::size_t kBlockOffset = 4;
constexpr std::size_t kBlockLength = 512;

bool ModuleWasRead(ModuleOutcome outcome) {
    switch (outcome) {
        case ModuleOutcome::OpenFailed:
        case ModuleOutcome::PortWriteFailed:
        case ModuleOutcome::PortReadFailed:
        case ModuleOutcome::NoResponse:
        case ModuleOutcome::LengthMismatch:
        case ModuleOutcome::MagicMismatch:
        case ModuleOutcome::CrcMismatch:
            return false;
        case ModuleOutcome::Succeeded:
        case ModuleOutcome::NotAcknowledged:
        case ModuleOutcome::VerifyFailed:
            return true;
    }
    return false;
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
    record.macWritten = FormatMacAddress(attempt.mac);
    const bool succeeded = result.outcome == ModuleOutcome::Succeeded;
    record.outcome = succeeded ? "ok" : "failed";
    record.reason = ModuleOutcomeReason(result.outcome);
    // A module that failed before its frame was read may have answered with anything.
    if (ModuleWasRead(result.outcome) || result.report.acknowledged) {
        const FrameIdentity identity = IdentityOfFrame(result.moduleFrame);
        record.moduleName = identity.name;
        record.moduleVersion = identity.version;
        record.moduleType = identity.type;
        record.macBefore = FormatMacAddress(identity.mac);
        record.readMs = result.report.readTime.count();
        record.writeMs = result.report.writeTime.count();
    }
    if (result.report.acknowledged) {
        record.configSha256 = Sha256Hex(
            std::span<const std::uint8_t>(result.sent).subspan(kBlockOffset, kBlockLength));
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
