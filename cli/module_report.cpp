#include "cli/module_report.h"

#include "station/frame_listing.h"

std::string FailureMessage(const ModuleFailure& failure) {
    if (failure.outcome == ModuleOutcome::VerifyFailed) {
        return "Verification failed, the module read back different " + failure.differences;
    }
    return ModuleOutcomeText(failure.outcome);
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

ModuleFailure FailureOfJob(const std::string& port, const ModuleJobResult& result,
                           const std::optional<MacAddress>& mac) {
    ModuleFailure failure{port, result.outcome, mac, {}, {}};
    if (result.outcome == ModuleOutcome::OpenFailed) {
        failure.portDetail = result.port.detail;
    }
    if (result.outcome == ModuleOutcome::VerifyFailed) {
        failure.differences = DescribeBlockDifference(result.sent, result.report.readBack);
    }
    return failure;
}

JsonObject WrittenJson(const std::string& port, const MacAddress& mac, bool verified) {
    return JsonObject{{"event", "written"},
                      {"port", port},
                      {"mac", FormatMacAddress(mac)},
                      {"verified", verified}};
}

std::string WrittenText(const std::string& port, const MacAddress& mac, bool verified) {
    return port + ": written, MAC " + FormatMacAddress(mac) +
           (verified ? ", verified" : ", not verified");
}

ExitCode ReportJob(Output& out, const std::string& port, const ModuleJobResult& result,
                   const std::optional<MacAddress>& mac, bool verify) {
    if (result.outcome == ModuleOutcome::Succeeded) {
        const MacAddress sent = MacOfFrame(result.sent);
        out.Result(WrittenJson(port, sent, verify), WrittenText(port, sent, verify));
        return ExitCode::Success;
    }
    const ModuleFailure failure = FailureOfJob(port, result, mac);
    out.Failure(FailureJson(failure), FailureText(failure));
    return ExitCodeOfOutcome(result.outcome);
}
