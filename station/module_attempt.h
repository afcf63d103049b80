#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/config_frame.h"
#include "model/config_settings.h"
#include "station/mac_source.h"
#include "station/module_outcome.h"
#include "station/windowless_program.h"
#include "store/programmed_mac.h"

// A production program's wait for "ATOK": a late answer costs a second at worst, a false
// failure costs a module.
inline constexpr std::chrono::milliseconds kProductionAckLimit{1000};

// What is programmed into each module of a run.
struct AttemptSetup {
    ConfigSettings settings;  // decoded from the .cfg file
    bool verify = true;       // read the module back after an acknowledged write
    std::chrono::milliseconds ackLimit = kProductionAckLimit;
};

// Where programming a module stands, for progress displays.
enum class ProgramStage { Reading, Writing, Verifying };

// What a module gets once its frame has been read: written with a MAC, left alone because it
// is programmed already, or nothing when no MAC can be had.
struct MacDecision {
    enum class Kind { Write, AlreadyProgrammed, NoMac };
    Kind kind = Kind::NoMac;
    MacTake take;                             // Write: its grant; NoMac: why not
    std::optional<ProgrammedMac> programmed;  // where and when it was programmed before
    bool rework = false;                      // Write of a module programmed before
};
using MacDecider = std::function<MacDecision(const ConfigFrame& moduleFrame)>;

// How an attempt on one module ended, with all its record and its front end need.
struct AttemptResult {
    ModuleOutcome outcome = ModuleOutcome::OpenFailed;
    PortFailure port;                     // the device, and why it did not open
    bool read = false;                    // the module's frame was read and accepted
    ConfigFrame moduleFrame{};            // as read before programming, valid when `read`
    MacDecision decision;                 // valid when `read`
    bool frameSent = false;               // any byte of the frame went out
    ConfigFrame sent{};                   // the sealed frame, valid when `frameSent`
    bool acknowledged = false;            // "ATOK" came back
    bool acknowledgementLost = false;     // no "ATOK", but the module holds the frame sent
    std::optional<ConfigFrame> readBack;  // read after the write (verifying or settling)
    MacEnd macEnd = MacEnd::NotSent;
    std::vector<std::string> warnings;  // range warnings of the build, exact texts
    std::chrono::milliseconds readTime{0};
    std::chrono::milliseconds writeTime{0};
    std::chrono::milliseconds verifyTime{0};

    // The MAC the module was given or kept, once decided.
    [[nodiscard]] std::optional<MacAddress> Mac() const;
};

// One attempt on the module on `portText` (a device path or COMn), with the port held from
// the first read to the last: reads the module (the only read before the write), has `decide`
// say what it gets, builds the frame with the module's identity, writes it and waits for
// "ATOK" from the end of sending, verifies when asked, and settles a write whose acknowledgement
// went astray by reading the module back. `stage` hears each step on the calling thread.
[[nodiscard]] AttemptResult ProgramAttempt(const std::string& portText, const AttemptSetup& setup,
                                           const MacDecider& decide,
                                           const std::function<void(ProgramStage)>& stage = {});
