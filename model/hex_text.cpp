#include "model/hex_text.h"

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
    std::uint8_t produced = 0;
    if (max != 0) {
        std::uint8_t accumulator = 0;
        bool pending = false;
        for (const char* p = text;; ++p) {
            const int digit = HexDigitValue(*p);
            if (digit >= 0) {
                accumulator = static_cast<std::uint8_t>(accumulator * 16 + digit);
                pending = true;
            } else if (pending) {
                bytes[produced++] = accumulator;
                accumulator = 0;
                pending = false;
            }
            if (*p == '\0' || produced == max) {
                break;
            }
        }
    }
    count = produced;
}
