#include "model/timing_math.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr std::int64_t kMaxU16 = 0xFFFF;
constexpr int kMaxExponent = 7;    // the exponent field has 3 bits
constexpr int kMaxMantissa = 255;  // the mantissa field has 8 bits
constexpr int kExponentLowBits = 30;

}  // namespace

BackoffCode EncodeBackoffTick(std::int32_t tickUs, std::int32_t crystalMHz) {
    const std::int64_t periods = static_cast<std::int64_t>(crystalMHz) * tickUs;
    const std::int64_t t = (periods + 32767) >> 15;
    int exponent = 0;
    if (t > 1) {
        exponent = 1;
        while ((std::int64_t{1} << exponent) < t) {
            ++exponent;
        }
    }
    const int shift = exponent + 7;
    std::int64_t mantissa = (periods + (std::int64_t{1} << shift) - 1) >> shift;
    if (mantissa > kMaxMantissa) {
        // Rounding up reached 256 x 2^(E+7), which is exactly 128 x 2^(E+8): the same tick.
        mantissa = 128;
        ++exponent;
    }
    if (exponent > kMaxExponent) {
        // Past the 3-bit exponent (crystal 27 from about 155 ms): the longest tick the fields
        // can carry.
        exponent = kMaxExponent;
        mantissa = kMaxMantissa;
    }
    return BackoffCode{static_cast<std::uint8_t>(mantissa),
                       static_cast<std::uint8_t>(exponent * 32 + kExponentLowBits)};
}

std::int32_t DecodeBackoffTick(std::uint8_t mantissa, std::uint8_t exponentByte,
                               std::int32_t crystalMHz) {
    const int exponent = exponentByte >> 5;
    const std::int64_t periods = (std::int64_t{mantissa} << exponent) * 128;
    return static_cast<std::int32_t>(periods / crystalMHz);
}

std::int32_t TimeoutLowBound(std::int32_t tickUs) {
    return tickUs >= 1000 ? tickUs / 1000 : 1;
}

std::int32_t TimeoutHighBound(std::int32_t tickUs) {
    return static_cast<std::int32_t>(static_cast<std::int64_t>(tickUs) * kMaxU16 / 1000);
}

std::uint16_t TimeoutToTicks(std::int32_t timeoutMs, std::int32_t tickUs) {
    const std::int64_t ticks = (static_cast<std::int64_t>(timeoutMs) * 1000 + tickUs - 1) / tickUs;
    // Validated timeouts always fit; the guards only keep an unvalidated call in the field.
    if (ticks < 0) {
        return 0;
    }
    return static_cast<std::uint16_t>(ticks > kMaxU16 ? kMaxU16 : ticks);
}

std::int32_t TicksToTimeout(std::uint16_t ticks, std::int32_t tickUs) {
    return static_cast<std::int32_t>(static_cast<std::int64_t>(ticks) * tickUs / 1000);
}

std::uint8_t CcaCode(double thresholdDbm) {
    const double code = std::trunc((thresholdDbm + 74.0) * 2.0);
    // The top of the validated range, -10.0 dBm, gives 128, one past the signed byte the
    // module reads: it is stored as 127 (-10.5 dBm), the nearest threshold the byte can carry.
    // The same keeps any other value (and NaN, at the bottom) inside the byte.
    std::int32_t value = std::numeric_limits<std::int8_t>::min();
    if (code > std::numeric_limits<std::int8_t>::max()) {
        value = std::numeric_limits<std::int8_t>::max();
    } else if (code >= std::numeric_limits<std::int8_t>::min()) {
        value = static_cast<std::int32_t>(code);
    }
    return static_cast<std::uint8_t>(value);
}

double CcaThreshold(std::uint8_t code) {
    return static_cast<std::int8_t>(code) * 0.5 - 74.0;
}

std::uint16_t WakeWord(std::uint16_t sleepWakeRate, std::int32_t autoWakeSlot,
                       std::int32_t crystalMHz, std::int32_t tickUs) {
    // The slot is validated to 16 bits; bounding it here keeps the product within 64 bits even
    // if the record changed after validation.
    const std::int64_t slot = std::clamp<std::int64_t>(autoWakeSlot, 0, kMaxU16);
    const std::int64_t word = std::int64_t{sleepWakeRate} * slot * crystalMHz * tickUs / 768000;
    // Large slots or ticks (slot 100 at 1.2 kbps with rate 2500) pass the 16-bit field: the
    // word saturates at its largest value rather than wrapping to a short one.
    if (word > kMaxU16) {
        return static_cast<std::uint16_t>(kMaxU16);
    }
    return static_cast<std::uint16_t>(word < 0 ? 0 : word);
}
