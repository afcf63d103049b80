#pragma once

#include <cstddef>
#include <cstdint>

#include "model/config_frame.h"

// Little-endian 16-bit fields of a frame: a setting is stored as its low 16 bits and read back
// zero-extended.
inline void PutU16(ConfigFrame& frame, std::size_t offset, std::int64_t value) {
    frame[offset] = static_cast<std::uint8_t>(value & 0xFF);
    frame[offset + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

[[nodiscard]] inline std::uint16_t GetU16(const ConfigFrame& frame, std::size_t offset) {
    return static_cast<std::uint16_t>(frame[offset] | (frame[offset + 1] << 8));
}

// A setting stored as its low 8 bits; a list without a choice (-1) gives 0xFF.
inline void PutU8(ConfigFrame& frame, std::size_t offset, std::int64_t value) {
    frame[offset] = static_cast<std::uint8_t>(value & 0xFF);
}
