#include "cli/module_record.h"

#include <chrono>
#include <span>

#include "cli/port_by_path.h"
#include "store/sha256.h"

namespace {

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
            // Either step can end so; the frame read tells which.
            return CheckFrameContent(result.moduleFrame) == FrameCheck::Accepted;
        case ModuleOutcome::Succeeded:
        case ModuleOutcome::NotAcknowledged:
        case ModuleOutcome::VerifyFailed:
            break;
    }
    return true;
}

std::int64_t Milliseconds(std::chrono::milliseconds duration) {
    return static_cast<std::int64_t>(duration.count());
}

}  // namespace

ProductionRecord RecordOfJob(const AttemptContext& context, const ModuleJobResult& result) {
    ProductionRecord record;
    record.timeStart = context.timeStart;
    record.timeEnd = context.timeEnd;
    record.station = context.station;
    record.port = context.port;
    record.portByPath =
        PortByPathName(result.port.device.empty() ? context.port : result.port.device);
    record.configFile = context.configFile;
    record.outcome = result.outcome == ModuleOutcome::Succeeded ? "ok" : "failed";
    record.reason = ModuleOutcomeReason(result.outcome);
    if (result.outcome != ModuleOutcome::OpenFailed) {
        record.readMs = Milliseconds(result.report.readTime);
    }
    if (ModuleWasRead(result)) {
        const FrameIdentity identity = IdentityOfFrame(result.moduleFrame);
        record.moduleName = identity.name;
        record.moduleVersion = identity.version;
        record.moduleType = identity.type;
        record.macBefore = FormatMacAddress(identity.mac);
        record.writeMs = Milliseconds(result.report.writeTime);
    }
    if (result.report.acknowledged) {
        record.macWritten = FormatMacAddress(MacOfFrame(result.sent));
        const std::span<const std::uint8_t> block(result.sent.data() + FrameOffset::kBlock,
                                                  kBlockSize);
        record.configSha256 = Sha256Hex(block);
        if (context.verify) {
            record.verified = result.outcome == ModuleOutcome::Succeeded;
            record.verifyMs = Milliseconds(result.report.verifyTime);
        }
    }
    return record;
}

std::int64_t NowMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}
