#pragma once

#include "link/module_exchange.h"
#include "model/config_frame.h"
#include "station/module_outcome.h"
#include "station/module_port.h"

// The configuration window's two transactions with a module: each opens the port, exchanges,
// checks and tells its steps, and closes the port. Write waits the window's 54 ms for "ATOK",
// counted from the end of sending.

// What a front end does at each step of a transaction. Every call comes while the port of that
// step is still held, so a window's boxes open before the port is given back.
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
    // The module acknowledged the frame.
    virtual void Written() {}
};

// Opens the port, asks the module for its frame and checks the answer. The answer lands in
// `frame` whatever the checks find.
ModuleOutcome ReadModule(const PortOpener& open, ConfigFrame& frame, ModuleSteps& steps);

// Opens the port, has the settings built into `workFrame` (whose identity bytes the caller has
// set), seals it, sends it and waits for "ATOK". `workFrame` stays sealed whatever happens.
ModuleOutcome WriteModule(const PortOpener& open, ConfigFrame& workFrame, ModuleSteps& steps);

// The module keeps its identity: bytes 4-37 of its frame go into the frame to be sent.
void CopyModuleIdentity(const ConfigFrame& moduleFrame, ConfigFrame& workFrame);

// true when bytes 4-515 (the block) of the two frames are the same.
[[nodiscard]] bool SameBlock(const ConfigFrame& a, const ConfigFrame& b);

// The outcome of a read exchange, and of a write exchange as the window tells it (a failed
// wait for "ATOK" has always been told as a module that does not respond).
[[nodiscard]] ModuleOutcome OutcomeOfRead(ModuleReadOutcome read);
[[nodiscard]] ModuleOutcome OutcomeOfWrite(ModuleWriteOutcome write);
