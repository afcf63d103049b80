#pragma once

#include <cstdint>

// The arithmetic of the radio timing fields. Products are formed in 64 bits; tick counts
// derived from milliseconds round up, milliseconds derived from ticks round down.

// The backoff tick as the module carries it: M x 2^(E+7) periods of the crystal.
struct BackoffCode {
    std::uint8_t mantissa = 0;      // frame byte 84
    std::uint8_t exponentByte = 0;  // frame byte 85: E x 32 + 30
};

// The shortest representable tick not below `tickUs` (1 to 160000 microseconds).
[[nodiscard]] BackoffCode EncodeBackoffTick(std::int32_t tickUs, std::int32_t crystalMHz);
// The tick in microseconds, rounded down; the low five bits of the exponent byte are ignored.
[[nodiscard]] std::int32_t DecodeBackoffTick(std::uint8_t mantissa, std::uint8_t exponentByte,
                                             std::int32_t crystalMHz);

// The bounds of a timeout in milliseconds for a backoff tick: the shortest is one tick counted
// in whole milliseconds (at least 1), the longest the last one whose tick count fits 16 bits.
[[nodiscard]] std::int32_t TimeoutLowBound(std::int32_t tickUs);
[[nodiscard]] std::int32_t TimeoutHighBound(std::int32_t tickUs);

// A timeout in milliseconds as backoff ticks (rounded up) and back (rounded down).
[[nodiscard]] std::uint16_t TimeoutToTicks(std::int32_t timeoutMs, std::int32_t tickUs);
[[nodiscard]] std::int32_t TicksToTimeout(std::uint16_t ticks, std::int32_t tickUs);

// The CCA code of a threshold, half-dB steps counted from -74 dBm, and back.
[[nodiscard]] std::uint8_t CcaCode(double thresholdDbm);
[[nodiscard]] double CcaThreshold(std::uint8_t code);

// The derived wake word: rate x slot x f x b / 768000, rounded down.
[[nodiscard]] std::uint16_t WakeWord(std::uint16_t sleepWakeRate, std::int32_t autoWakeSlot,
                                     std::int32_t crystalMHz, std::int32_t tickUs);
