#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "model/config_frame.h"

// The words of the module protocol. The module speaks only when asked:
//   read:  "ATR0" -> one 518-byte frame (the block behind any 4-byte header, then its CRC)
//   write: a sealed 518-byte frame, whose header is kWriteCommand ("ATW0") -> "ATOK"
// The write command is the sealed frame's own header, so it lives with the frame format.

inline constexpr std::array<std::uint8_t, 4> kReadRequest{'A', 'T', 'R', '0'};
inline constexpr std::array<std::uint8_t, 4> kAcknowledgement{'A', 'T', 'O', 'K'};

// How many bytes an exchange waits for: a whole frame after a read request, the
// acknowledgement after a written frame.
inline constexpr std::size_t kReadAnswerLength = kFrameSize;
inline constexpr std::size_t kWriteAnswerLength = kAcknowledgement.size();
