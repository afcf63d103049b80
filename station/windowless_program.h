#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/config_codec.h"
#include "model/config_frame.h"
#include "model/config_settings.h"
#include "model/mac_address.h"
#include "station/module_exchange.h"

class AnnouncedPorts;

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

// Where programming a module stands, for progress displays.
enum class ProgramStage { Reading, Writing, Verifying };

struct ModuleJob {
    std::string portText;           // a device path or "COMn"
    ConfigSettings settings;        // what to program (decoded from a .cfg file)
    std::optional<MacAddress> mac;  // nothing: the module keeps its own MAC
    bool verify = true;
    std::function<void(ProgramStage)> progress;  // optional; called on the programming thread
};

// Why a port did not open, for messages and records.
struct PortFailure {
    std::string device;  // the device tried
    OpenOutcome outcome = OpenOutcome::Opened;
    int error = 0;
    std::string detail;  // PortFailureDetail; empty while the port opened
};

struct ModuleJobResult {
    ModuleOutcome outcome = ModuleOutcome::OpenFailed;
    PortFailure port;
    ConfigFrame moduleFrame{};          // the module's frame as read before programming
    ConfigFrame sent{};                 // the sealed frame sent (valid once acknowledged)
    ProgramReport report;               // times, acknowledgement, read-back
    std::vector<std::string> warnings;  // range warnings of the build, exact texts
};

// Programs one module without a window: exactly what the window sends for these settings
// after a Write (identity and crystal from the module, settings through the same checks and
// timing rules), with the given MAC or the module's own. Runs on any thread; one job touches
// only its own settings and port.
[[nodiscard]] ModuleJobResult ProgramModuleWindowless(ModuleJob job,
                                                      const AnnouncedPorts& announced);

struct ModuleReadResult {
    ModuleOutcome outcome = ModuleOutcome::OpenFailed;
    PortFailure port;
    ConfigFrame frame{};
};
[[nodiscard]] ModuleReadResult ReadModuleWindowless(const std::string& portText,
                                                    const AnnouncedPorts& announced);
