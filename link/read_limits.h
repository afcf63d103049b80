#pragma once

#include <chrono>
#include <cstddef>

// The time limits of a read from the module. A read of n bytes ends when all n have arrived,
// when the total limit (50 ms plus 1 ms per requested byte) has passed since the read began,
// or when the line has stayed quiet for the quiet limit after the first byte arrived.
namespace ReadLimits {

inline constexpr std::chrono::milliseconds kTotalConstant{50};
inline constexpr std::chrono::milliseconds kTotalPerByte{1};

// The module answers in one burst, so a quiet line means the answer is over. The program was
// designed around a 1 ms gap on a system whose timer ticks every 15.6 ms, where that gap was
// in effect one tick. Linux honours 1 ms literally, and USB-serial adapters hand over received
// bytes in packets several ms apart (an FTDI adapter's latency timer is 16 ms by default), so
// a literal 1 ms would cut every answer after its first packet. 20 ms lets such an adapter
// deliver a whole answer and still ends a truncated one quickly.
inline constexpr std::chrono::milliseconds kQuietLimit{20};

// 568 ms for the 518-byte frame, 54 ms for the 4-byte acknowledgement.
[[nodiscard]] constexpr std::chrono::milliseconds TotalLimit(std::size_t requested) {
    return kTotalConstant + kTotalPerByte * static_cast<std::chrono::milliseconds::rep>(requested);
}

// One byte on the line: 10 bits at 115200 bit/s.
inline constexpr std::chrono::nanoseconds kByteTime{86'806};

// How long bytes handed to the driver may take to leave the port before the port counts as
// failed: their time on the line, and a margin for a USB adapter's packet and latency timers
// (an FTDI adapter holds bytes up to 16 ms by default) and a busy machine.
inline constexpr std::chrono::milliseconds kDrainMargin{250};

[[nodiscard]] constexpr std::chrono::milliseconds DrainLimit(std::size_t bytes) {
    return std::chrono::ceil<std::chrono::milliseconds>(
               kByteTime * static_cast<std::chrono::nanoseconds::rep>(bytes)) +
           kDrainMargin;
}

}  // namespace ReadLimits
