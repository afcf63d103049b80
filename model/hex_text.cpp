#include "model/hex_text.h"

#include <algorithm>
#include <cstddef>

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

// The value of a hex digit, or -1 for any other character.
int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

enum class RunReading { LastTwoDigits, PairsFromTheLeft };

// The value of `length` hex digits taken as one number modulo 256: a longer run keeps its last
// two digits.
std::uint8_t DigitsValue(const char* digits, std::size_t length) {
    std::uint8_t value = 0;
    for (std::size_t i = 0; i < length; ++i) {
        value = static_cast<std::uint8_t>(value * 16 + HexDigitValue(digits[i]));
    }
    return value;
}

void ReadHexRuns(const char* text, std::uint8_t* bytes, std::uint8_t& count, std::uint8_t max,
                 RunReading reading) {
    std::uint8_t produced = 0;
    const char* p = text;
    while (produced < max && *p != '\0') {
        if (HexDigitValue(*p) < 0) {
            ++p;
            continue;
        }
        const char* runEnd = p;
        while (HexDigitValue(*runEnd) >= 0) {
            ++runEnd;
        }
        const auto length = static_cast<std::size_t>(runEnd - p);
        if (reading == RunReading::PairsFromTheLeft && length > 2) {
            for (std::size_t at = 0; at < length && produced < max; at += 2) {
                bytes[produced++] = DigitsValue(p + at, std::min<std::size_t>(2, length - at));
            }
        } else {
            bytes[produced++] = DigitsValue(p, length);
        }
        p = runEnd;
    }
    count = produced;
}

}  // namespace

void BytesToHex(char* text, const std::uint8_t* bytes, std::uint8_t count) {
    if (count == 0) {
        text[0] = '\0';
        return;
    }
    char* out = text;
    for (std::uint8_t i = 0; i < count; ++i) {
        *out++ = kHexDigits[bytes[i] >> 4];
        *out++ = kHexDigits[bytes[i] & 0x0F];
        *out++ = ' ';
    }
    out[-1] = '\0';  // the last blank becomes the terminator
}

void HexToBytes(const char* text, std::uint8_t* bytes, std::uint8_t& count, std::uint8_t max) {
    ReadHexRuns(text, bytes, count, max, RunReading::LastTwoDigits);
}

void MacTextToBytes(const char* text, std::uint8_t* bytes, std::uint8_t& count, std::uint8_t max) {
    ReadHexRuns(text, bytes, count, max, RunReading::PairsFromTheLeft);
}
