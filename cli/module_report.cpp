#include "cli/module_report.h"

#include "station/frame_listing.h"
#include "store/iso_time.h"

namespace {

JsonObject WrittenJson(const std::string& port, const AttemptResult& result, bool verify) {
    JsonObject event{{"event", "written"},
                     {"port", port},
                     {"mac", FormatMacAddress(MacOfFrame(result.sent))},
                     {"verified", verify || result.acknowledgementLost}};
    if (result.acknowledgementLost) {
        event["note"] = "acknowledgement lost; the module read back the frame sent";
    }
    return event;
}

std::string WrittenText(const std::string& port, const AttemptResult& result, bool verify) {
    const bool verified = verify || result.acknowledgementLost;
    return port + ": written, MAC " + FormatMacAddress(MacOfFrame(result.sent)) +
           (verified ? ", verified" : ", not verified") +
           (result.acknowledgementLost ? " (acknowledgement lost, read back)" : "");
}

void ReportAlreadyProgrammed(Output& out, const std::string& port, const AttemptResult& result) {
    const std::string mac = FormatMacAddress(MacOfFrame(result.moduleFrame));
    const ProgrammedMac& before = *result.decision.programmed;
    const std::string when = FormatIsoUtc(before.when);
    out.Result({{"event", "already_programmed"},
                {"port", port},
                {"mac", mac},
                {"station", before.station},
                {"when", when}},
               port + ": already programmed, MAC " + mac + ", by station " + before.station +
                   " at " + when + "; not written (--rework writes it again keeping its MAC)");
}

}  // namespace

std::string FailureMessage(const ModuleFailure& failure) {
    std::string message = ModuleOutcomeMessage(failure.outcome);
    if (!failure.detail.empty()) {
        message += " (" + failure.detail + ")";
    }
    return message;
}

JsonObject FailureJson(const ModuleFailure& failure) {
    JsonObject event{{"event", "failed"}, {"port", failure.port}};
    event["mac"] = failure.mac ? JsonObject(FormatMacAddress(*failure.mac)) : JsonObject();
    event["reason"] = ModuleOutcomeReason(failure.outcome);
    event["message"] = FailureMessage(failure);
    if (!failure.portDetail.empty()) {
        event["detail"] = failure.portDetail;
    }
    return event;
}

std::string FailureText(const ModuleFailure& failure) {
    if (!failure.portDetail.empty()) {
        return FailureMessage(failure) + " " + failure.portDetail;  // the detail names the port
    }
    return failure.port + ": " + FailureMessage(failure);
}

ModuleFailure FailureOfAttempt(const std::string& port, const AttemptResult& result) {
    ModuleFailure failure{port, result.outcome, std::nullopt, {}, {}};
    if (result.frameSent) {
        failure.mac = MacOfFrame(result.sent);
    }
    if (result.outcome == ModuleOutcome::OpenFailed) {
        failure.portDetail = result.port.detail;
    }
    if (result.outcome == ModuleOutcome::VerifyFailed && result.readBack) {
        failure.detail = "it differs in " + DescribeBlockDifference(result.sent, *result.readBack);
    } else if (!result.decision.take.grant) {
        failure.detail = result.decision.take.message;
    }
    return failure;
}

ExitCode ReportAttempt(Output& out, const std::string& port, const AttemptResult& result,
                       bool verify) {
    if (result.outcome == ModuleOutcome::Succeeded) {
        out.Result(WrittenJson(port, result, verify), WrittenText(port, result, verify));
    } else if (result.outcome == ModuleOutcome::AlreadyProgrammed) {
        ReportAlreadyProgrammed(out, port, result);
    } else if (result.outcome == ModuleOutcome::OrderComplete) {
        out.Result({{"event", "not_needed"}, {"port", port}, {"reason", "order_complete"}},
                   port + ": not written, the order is complete");
    } else {
        const ModuleFailure failure = FailureOfAttempt(port, result);
        out.Failure(FailureJson(failure), FailureText(failure));
    }
    return ExitCodeOfOutcome(result.outcome);
}
