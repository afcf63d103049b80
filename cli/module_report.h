#pragma once

#include <optional>
#include <string>

#include "cli/exit_codes.h"
#include "cli/output.h"
#include "model/mac_address.h"
#include "station/windowless_program.h"

// How one module's exchange failed, as the command line tells it.
struct ModuleFailure {
    std::string port;
    ModuleOutcome outcome = ModuleOutcome::OpenFailed;
    std::optional<MacAddress> mac;  // the MAC meant for the module, when known
    std::string portDetail;         // why the port did not open, when it did not
    std::string differences;        // what read back differently, after a failed verification
};

// The window's status text, or for a failed verification a sentence naming what differs.
[[nodiscard]] std::string FailureMessage(const ModuleFailure& failure);
// {"event":"failed","port":...,"mac":...,"reason":...,"message":...[,"detail":...]}
[[nodiscard]] JsonObject FailureJson(const ModuleFailure& failure);
[[nodiscard]] std::string FailureText(const ModuleFailure& failure);

// The failure of a programming job; `mac` is the MAC it was given, if any.
[[nodiscard]] ModuleFailure FailureOfJob(const std::string& port, const ModuleJobResult& result,
                                         const std::optional<MacAddress>& mac);

// {"event":"written","port":...,"mac":...,"verified":...}
[[nodiscard]] JsonObject WrittenJson(const std::string& port, const MacAddress& mac, bool verified);
[[nodiscard]] std::string WrittenText(const std::string& port, const MacAddress& mac,
                                      bool verified);

// Reports how a programming job ended and gives its exit code.
ExitCode ReportJob(Output& out, const std::string& port, const ModuleJobResult& result,
                   const std::optional<MacAddress>& mac, bool verify);
