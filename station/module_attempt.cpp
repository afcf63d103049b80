#include "station/module_attempt.h"

#include "link/module_exchange.h"
#include "station/write_settling.h"

namespace {

using Clock = std::chrono::steady_clock;

std::chrono::milliseconds Since(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
}

// The outcome of a write that was acknowledged, by its read-back when there is one.
void EndAcknowledged(AttemptResult& result, SerialSession& session, bool verify) {
    result.acknowledged = true;
    result.macEnd = MacEnd::Programmed;
    result.outcome = ModuleOutcome::Succeeded;
    if (!verify) {
        return;
    }
    ConfigFrame readBack{};
    const ModuleReadOutcome read = ReadModuleFrame(session, readBack);
    if (read == ModuleReadOutcome::Read) {
        result.readBack = readBack;
    }
    if (read != ModuleReadOutcome::Read || !SameBlock(readBack, result.sent)) {
        // It said it took the frame: whatever it holds now, the MAC is not free again.
        result.outcome = ModuleOutcome::VerifyFailed;
        result.macEnd = MacEnd::ReadBackWrong;
    }
}

// The acknowledgement went astray after the frame began to go out: the module is asked what it
// holds now. Only its old block gives the MAC back.
void EndByReading(AttemptResult& result, ModuleWriteOutcome write,
                  std::unique_ptr<SerialSession> session, const std::string& portText) {
    const Settlement settlement = SettleByReading(
        std::move(session), [&] { return OpenModulePort(portText); }, result.sent,
        result.moduleFrame);
    result.readBack = settlement.readBack;
    switch (settlement.took) {
        case WriteTook::Yes:
            result.outcome = ModuleOutcome::Succeeded;
            result.acknowledgementLost = true;
            result.macEnd = MacEnd::Programmed;
            return;
        case WriteTook::No:
            result.outcome = OutcomeOfWrite(write);
            result.macEnd = MacEnd::NotTaken;
            return;
        case WriteTook::Unknown:
            break;
    }
    result.outcome = ModuleOutcome::MacSuspect;
    result.macEnd = MacEnd::Suspect;
}

void Tell(const std::function<void(ProgramStage)>& stage, ProgramStage now) {
    if (stage) {
        stage(now);
    }
}

}  // namespace

std::optional<MacAddress> AttemptResult::Mac() const {
    if (!read || !decision.take.grant) {
        return std::nullopt;
    }
    return decision.take.grant->mac;
}

AttemptResult ProgramAttempt(const std::string& portText, const AttemptSetup& setup,
                             const MacDecider& decide,
                             const std::function<void(ProgramStage)>& stage) {
    AttemptResult result;
    Tell(stage, ProgramStage::Reading);
    Clock::time_point start = Clock::now();
    PortOpening opening = OpenModulePort(portText);
    result.port = PortFailureOf(opening);
    if (!opening.Opened()) {
        return result;
    }
    result.outcome = OutcomeOfRead(ReadModuleFrame(*opening.session, result.moduleFrame));
    result.readTime = Since(start);
    if (result.outcome != ModuleOutcome::Succeeded) {
        return result;
    }
    result.read = true;
    result.decision = decide(result.moduleFrame);
    if (result.decision.kind == MacDecision::Kind::AlreadyProgrammed) {
        result.outcome = ModuleOutcome::AlreadyProgrammed;
        return result;
    }
    if (result.decision.kind == MacDecision::Kind::NoMac || !result.decision.take.grant) {
        result.outcome = result.decision.take.refusal;
        return result;
    }

    Tell(stage, ProgramStage::Writing);
    ConfigSettings settings = setup.settings;
    MakeDefaultWorkFrame(result.sent);  // the window's working frame as it starts
    CopyModuleIdentity(result.moduleFrame, result.sent);
    BuildModuleFrame(settings, result.decision.take.grant->mac, result.sent, result.warnings);
    SealFrame(result.sent);
    start = Clock::now();
    const ModuleWriteOutcome write =
        WriteModuleFrame(*opening.session, result.sent, setup.ackLimit);
    result.writeTime = Since(start);
    result.frameSent = write != ModuleWriteOutcome::NotSent;
    if (!result.frameSent) {
        result.outcome = ModuleOutcome::PortWriteFailed;
        return result;
    }

    if (write == ModuleWriteOutcome::Acknowledged && setup.verify) {
        Tell(stage, ProgramStage::Verifying);
    }
    start = Clock::now();
    if (write == ModuleWriteOutcome::Acknowledged) {
        EndAcknowledged(result, *opening.session, setup.verify);
    } else {
        Tell(stage, ProgramStage::Verifying);
        EndByReading(result, write, std::move(opening.session), portText);
    }
    result.verifyTime = Since(start);
    return result;
}
