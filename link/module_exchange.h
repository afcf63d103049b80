#pragma once

#include <chrono>
#include <cstddef>

#include "link/read_limits.h"
#include "link/serial_session.h"
#include "model/config_frame.h"

// The two exchanges with a module over an open session. Each sends one request and judges
// the one answer; neither opens, closes or retries anything.

enum class ModuleReadOutcome {
    Read,             // a whole frame with the magic and a matching CRC
    PortWriteFailed,  // the request could not be handed to the port
    PortReadFailed,   // the port failed or hung up while the answer was awaited
    NoAnswer,         // the read ended without a single byte
    LengthMismatch,   // some bytes came, but not a whole frame
    MagicMismatch,
    CrcMismatch,
};

// Every outcome but NotSent and Acknowledged leaves open whether the module took the frame: some
// or all of it went out.
enum class ModuleWriteOutcome {
    Acknowledged,     // exactly "ATOK" came back
    NotSent,          // the port refused the frame before a single byte of it went out
    PortWriteFailed,  // the port failed part way through the frame, or it did not drain
    PortReadFailed,   // the port failed or hung up while the answer was awaited
    NotAcknowledged,  // silence, a short or long answer, or anything but "ATOK"
};

[[nodiscard]] const char* ModuleReadOutcomeName(ModuleReadOutcome outcome);
[[nodiscard]] const char* ModuleWriteOutcomeName(ModuleWriteOutcome outcome);

// Sends "ATR0" and receives the answer straight into `frame` (it stays there whatever the
// checks find); `received` gets the number of bytes, 0 when the request could not be sent.
// The checks run in the order length, magic, CRC; the first failing one decides.
[[nodiscard]] ModuleReadOutcome ReadModuleFrame(SerialSession& session, ConfigFrame& frame,
                                                std::size_t& received);
[[nodiscard]] ModuleReadOutcome ReadModuleFrame(SerialSession& session, ConfigFrame& frame);

// The configuration window's wait for the acknowledgement: 54 ms.
inline constexpr std::chrono::milliseconds kWindowAckLimit = ReadLimits::TotalLimit(4);

// Sends the 518 bytes of `sealedFrame` as they are, waits until they have left the port, and
// only then waits up to `ackLimit` for the acknowledgement: a frame still on its way is no
// late module.
[[nodiscard]] ModuleWriteOutcome WriteModuleFrame(
    SerialSession& session, const ConfigFrame& sealedFrame,
    std::chrono::milliseconds ackLimit = kWindowAckLimit);
