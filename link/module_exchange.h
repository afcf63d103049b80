#pragma once

#include <cstddef>

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

enum class ModuleWriteOutcome {
    Acknowledged,     // exactly "ATOK" came back
    PortWriteFailed,  // the frame could not be handed to the port
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

// Sends the 518 bytes of `sealedFrame` as they are and waits for the acknowledgement.
[[nodiscard]] ModuleWriteOutcome WriteModuleFrame(SerialSession& session,
                                                  const ConfigFrame& sealedFrame);
