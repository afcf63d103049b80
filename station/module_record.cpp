#include "station/module_record.h"

#include <span>

#include "model/mac_address.h"
#include "store/iso_time.h"
#include "store/sha256.h"
#include "store/stored_text.h"

namespace {

const char* OutcomeWord(ModuleOutcome outcome) {
    if (outcome == ModuleOutcome::Succeeded) {
        return "ok";
    }
    // A module left alone is no failure of it: programmed before, or not needed by the order.
    return outcome == ModuleOutcome::AlreadyProgrammed || outcome == ModuleOutcome::OrderComplete ||
                   outcome == ModuleOutcome::OrderFull
               ? "skipped"
               : "failed";
}

std::string NoteOf(const AttemptResult& result) {
    if (result.acknowledgementLost) {
        return "acknowledgement lost; the module read back the frame sent";
    }
    if (result.outcome == ModuleOutcome::MacSuspect) {
        return "no acknowledgement and no read-back; the MAC is held out as suspect";
    }
    const std::optional<ProgrammedMac>& before = result.decision.programmed;
    if (result.read && before) {
        return "programmed before by station " + before->station + " at " +
               FormatIsoUtc(before->when);
    }
    return {};
}

}  // namespace

ProductionRecord RecordOfAttempt(const AttemptContext& context, const AttemptResult& result) {
    ProductionRecord record;
    record.timeStart = context.timeStart;
    record.timeEnd = context.timeEnd;
    record.station = context.station;
    record.port = context.port;
    record.portByPath = context.portByPath;
    record.configFile = context.configFile;
    record.order = context.order;
    record.outcome = OutcomeWord(result.outcome);
    record.reason = ModuleOutcomeReason(result.outcome);
    record.note = NoteOf(result);
    // A module left alone because its order was complete was never opened.
    const bool untouched = result.outcome == ModuleOutcome::OpenFailed ||
                           (result.outcome == ModuleOutcome::OrderComplete && !result.read);
    if (!untouched) {
        record.readMs = result.readTime.count();
    }
    // A module that failed before its frame was accepted may have answered with anything.
    if (result.read) {
        const FrameIdentity identity = IdentityOfFrame(result.moduleFrame);
        record.moduleName = StoredText(identity.name);
        record.moduleVersion = identity.version;
        record.moduleType = identity.type;
        record.macBefore = FormatMacAddress(identity.mac);
        record.rework = result.decision.rework;
    }
    if (result.frameSent) {
        const MacAddress mac = MacOfFrame(result.sent);
        record.macWritten = FormatMacAddress(mac);
        record.writeMs = result.writeTime.count();
        // A MAC the line gave (held in the store first), not one the module kept: only those
        // make a module one this line programmed.
        const std::optional<MacGrant>& grant = result.decision.take.grant;
        if (grant && grant->holdId != 0) {
            record.macSent = MacToNumber(mac);
        }
    }
    if (result.acknowledged || result.acknowledgementLost) {
        const std::span<const std::uint8_t> block(result.sent.data() + FrameOffset::kBlock,
                                                  kBlockSize);
        record.configSha256 = Sha256Hex(block);
        if (context.verify || result.acknowledgementLost) {
            record.verified = result.outcome == ModuleOutcome::Succeeded;
            record.verifyMs = result.verifyTime.count();
        }
    }
    return record;
}
