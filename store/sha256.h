#pragma once

#include <cstdint>
#include <span>
#include <string>

// The SHA-256 digest of `bytes` as 64 lower-case hexadecimal digits: the fingerprint the
// production record keeps of the 512-byte block written to a module.
[[nodiscard]] std::string Sha256Hex(std::span<const std::uint8_t> bytes);
