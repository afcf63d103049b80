#pragma once

#include <cstdint>
#include <span>

// A .cfg file holds one sealed configuration frame with every byte XORed with this mask.
inline constexpr std::uint8_t CFG_FILE_MASK = 0x3C;

// XORs every byte of `bytes` with CFG_FILE_MASK in place. Applied twice it restores the data.
void ScrambleCfgBytes(std::span<std::uint8_t> bytes);
