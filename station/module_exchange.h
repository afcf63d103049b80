#pragma once

#include <chrono>

#include "model/config_frame.h"
#include "station/module_outcome.h"
#include "station/module_port.h"

// What a front end does at each step of an exchange with a module. Every call comes while the
// port of that step is still held, so a window's boxes open before the port is given back.
class ModuleSteps {
  public:
    virtual ~ModuleSteps() = default;

    // The module's frame was read and accepted.
    virtual void ModuleRead(const ConfigFrame& frame) = 0;
    // Puts the settings into `frame`, whose identity bytes already are the module's. A window
    // shows its range warnings here.
    virtual void BuildFrame(ConfigFrame& frame) = 0;
    // A step failed. `opening` is that step's port attempt (open or not).
    virtual void Failed(ModuleOutcome outcome, const PortOpening& opening) = 0;
    // The module acknowledged the frame (and, when asked, gave the same block back).
    virtual void Written() {}
    // The frame is sealed and about to go out; then the read-back starts. For progress displays.
    virtual void Writing() {}
    virtual void Verifying() {}
};

// Opens the port, asks the module for its frame and checks the answer. The answer lands in
// `frame` whatever the checks find.
ModuleOutcome ReadModule(const PortOpener& open, ConfigFrame& frame, ModuleSteps& steps);

struct ProgramOptions {
    bool verify = false;  // read the block back after the acknowledgement and compare
};

// What programming took, for records and benchmarks.
struct ProgramReport {
    std::chrono::milliseconds readTime{0};
    std::chrono::milliseconds writeTime{0};
    std::chrono::milliseconds verifyTime{0};
    ConfigFrame readBack{};     // the module's frame after the write, when verified
    bool acknowledged = false;  // the module answered "ATOK" (it may hold the frame)
};

// Opens the port, has the settings built into `workFrame` (whose identity bytes the caller has
// set), seals it, sends it and waits for "ATOK"; with `options.verify`, reads the module back
// over the same session and compares bytes 4-515. `workFrame` stays sealed whatever happens.
ModuleOutcome WriteModule(const PortOpener& open, ConfigFrame& workFrame, ModuleSteps& steps,
                          ProgramOptions options = {}, ProgramReport* report = nullptr);

// The module keeps its identity: bytes 4-37 of its frame go into the frame to be sent.
void CopyModuleIdentity(const ConfigFrame& moduleFrame, ConfigFrame& workFrame);

// Programs a module while keeping its identity: ReadModule into `moduleFrame`, then
// CopyModuleIdentity, then WriteModule. The port is given back between the read and the write.
ModuleOutcome ProgramModule(const PortOpener& open, ConfigFrame& moduleFrame,
                            ConfigFrame& workFrame, ModuleSteps& steps, ProgramOptions options = {},
                            ProgramReport* report = nullptr);

// true when bytes 4-515 (the block) of the two frames are the same.
[[nodiscard]] bool SameBlock(const ConfigFrame& a, const ConfigFrame& b);
