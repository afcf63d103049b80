#pragma once

#include <optional>

// Low-latency mode of a serial driver. A USB-serial adapter otherwise holds received bytes
// back for its latency timer, which stretches every answer of the module. Internal to the
// link layer: a session asks for it while it is open.

// Sets ASYNC_LOW_LATENCY on the port behind `fd` and returns the driver flags it had before.
// Nothing, and no change, where the driver has no such flags (a pseudo-terminal) or refuses.
[[nodiscard]] std::optional<int> RequestLowLatency(int fd);

// Puts back the flags RequestLowLatency returned. A refusal is ignored: the port is closing.
void RestoreSerialFlags(int fd, int flags);
