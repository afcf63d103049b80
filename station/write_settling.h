#pragma once

#include <chrono>
#include <optional>

#include "model/config_frame.h"
#include "station/module_port.h"

// Whether a module took a frame whose acknowledgement went astray (missing, late, garbled, or
// the port failed after the frame began to go out), as only a read of the module can tell.
enum class WriteTook {
    Yes,      // it holds the frame sent
    No,       // it holds the block it had before, read on the session that sent the frame
    Unknown,  // it holds something else, or could not be read
};

struct Settlement {
    WriteTook took = WriteTook::Unknown;
    std::optional<ConfigFrame> readBack;  // the last frame the module gave, if any
};

// How long the settling reads may go on, and how long they wait between tries: a late answer
// still on its way is let through and thrown away, an adapter that glitched gets time to come
// back.
struct SettlingLimits {
    std::chrono::milliseconds within{2000};
    std::chrono::milliseconds firstPause{50};
    int tries = 3;
};

// Reads the module back until it gives a whole frame or the limits are spent, on `session`
// while it works and on a new session from `reopen` after it failed (or when `session` is
// null). Whatever is waiting on the line (a late acknowledgement) is dropped before each read.
[[nodiscard]] Settlement SettleByReading(std::unique_ptr<SerialSession> session,
                                         const PortOpener& reopen, const ConfigFrame& sent,
                                         const ConfigFrame& before, SettlingLimits limits = {});
