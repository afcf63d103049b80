#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// The read of one answer from a non-blocking serial descriptor under the read limits of
// link/read_limits.h. Internal to the link layer; SerialSession::Read is the public face.
// `received` counts the bytes that arrived (also when the read fails). false when the port
// reports an error or hangs up before the read completes.
[[nodiscard]] bool ReadWithinLimits(int fd, std::span<std::uint8_t> buffer, std::size_t& received);
