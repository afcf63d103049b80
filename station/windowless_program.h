#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/config_codec.h"
#include "model/config_frame.h"
#include "model/config_settings.h"
#include "model/mac_address.h"
#include "station/module_transactions.h"

// The module facts a frame carries, as the window shows them.
struct FrameIdentity {
    std::string name;        // bytes 4 up to the first NUL
    std::string version;     // "1.6"
    std::string type;        // "NODE", "ROOT" or "UNKNOWN"
    std::string rfFreqBand;  // "433MHz"
    std::string rfPowerMax;  // "10dBm"
    MacAddress mac{};
};
[[nodiscard]] FrameIdentity IdentityOfFrame(const ConfigFrame& frame);

// The settings a frame decodes to, as the window's Open of a file or Read of a module leaves
// them (the working frame is the default one, as in a window just started).
[[nodiscard]] ConfigSettings SettingsFromFrame(const ConfigFrame& frame);

// Builds `frame` from `settings` as the window builds it with `options` (with its range checks
// and adjustments, which change `settings` as they change the window's fields) and seals it.
// Each range warning is appended to `warnings` with its exact text.
void BuildSealedFrame(ConfigSettings& settings, ConfigFrame& frame, FrameBuildOptions options,
                      std::vector<std::string>& warnings);

// Builds the frame sent to a module: `frame` holds the module's identity already; the
// settings go through the same checks and timing rules as the window's build (changing
// `settings` as they change the window's fields), with `mac`. The range warnings are appended
// to `warnings` with their exact texts. Not sealed.
void BuildModuleFrame(ConfigSettings& settings, const MacAddress& mac, ConfigFrame& frame,
                      std::vector<std::string>& warnings);

// Why a port did not open, for messages and records.
struct PortFailure {
    std::string device;  // the device tried
    OpenOutcome outcome = OpenOutcome::Opened;
    int error = 0;
    std::string detail;  // PortFailureDetail; empty while the port opened
};

struct ModuleReadResult {
    ModuleOutcome outcome = ModuleOutcome::OpenFailed;
    PortFailure port;
    ConfigFrame frame{};
};
// Reads a module's frame on its own session, as a Read without a window.
[[nodiscard]] ModuleReadResult ReadModuleWindowless(
    const std::string& portText, const AnnouncedPorts& announced = NoAnnouncedPorts());

// Why `opening` failed, for messages and records.
[[nodiscard]] PortFailure PortFailureOf(const PortOpening& opening);
