#pragma once

#include <optional>
#include <string>

#include "cli/exit_codes.h"
#include "cli/output.h"
#include "model/mac_address.h"
#include "station/module_attempt.h"

// How one module's exchange failed, as the command line tells it.
struct ModuleFailure {
    std::string port;
    ModuleOutcome outcome = ModuleOutcome::OpenFailed;
    std::optional<MacAddress> mac;  // the MAC of a frame that went out, when one did
    std::string portDetail;         // why the port did not open, when it did not
    std::string detail;             // what read back differently, why no MAC, ...
};

// The outcome's text for people, with its detail.
[[nodiscard]] std::string FailureMessage(const ModuleFailure& failure);
// {"event":"failed","port":...,"mac":...,"reason":...,"message":...[,"detail":...]}
[[nodiscard]] JsonObject FailureJson(const ModuleFailure& failure);
[[nodiscard]] std::string FailureText(const ModuleFailure& failure);

// The failure of an attempt on the module on `port`.
[[nodiscard]] ModuleFailure FailureOfAttempt(const std::string& port, const AttemptResult& result);

// Tells how an attempt ended, one line (or JSON object), and gives its exit code:
//   {"event":"written","port","mac","verified"[,"note"]}
//   {"event":"already_programmed","port","mac","station","when"}
//   {"event":"failed",...} (see FailureJson)
ExitCode ReportAttempt(Output& out, const std::string& port, const AttemptResult& result,
                       bool verify);
