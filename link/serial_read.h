#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>

// The read of one answer from a non-blocking serial descriptor under the read limits of
// link/read_limits.h, the total limit given. Internal to the link layer; SerialSession::Read is
// the public face. `received` counts the bytes that arrived (also when the read fails). false
// when the port reports an error or hangs up before the read completes.
[[nodiscard]] bool ReadWithinLimits(int fd, std::span<std::uint8_t> buffer, std::size_t& received,
                                    std::chrono::milliseconds totalLimit);

// Waits until the driver has sent every byte handed to it (its output queue is empty) or
// `limit` has passed. Unlike tcdrain, never waits longer than `limit`, even when the adapter
// stopped taking bytes. false on timeout; true at once where the driver cannot tell how much
// it holds (a port that failed shows in the read that follows).
[[nodiscard]] bool DrainWithin(int fd, std::chrono::milliseconds limit);
