#include "store/stored_text.h"

#include <cstdint>
#include <cstdio>

namespace {

// The length of the UTF-8 sequence that starts at `at`, or 0 when none does (a stray
// continuation byte, an overlong form, a surrogate, past U+10FFFF, a cut sequence) or it is a
// control byte.
std::size_t Utf8SequenceAt(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[at + i]); };
    const std::uint8_t lead = byte(0);
    if (lead < 0x20 || lead == 0x7F) {
        return 0;
    }
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    std::uint32_t low = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        low = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = 0x10000;
    } else {
        return 0;
    }
    if (at + length > text.size()) {
        return 0;
    }
    std::uint32_t point = lead & (0xFF >> (length + 1));
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
        point = (point << 6) | (byte(i) & 0x3F);
    }
    const bool surrogate = point >= 0xD800 && point <= 0xDFFF;
    return point < low || point > 0x10FFFF || surrogate ? 0 : length;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

}  // namespace

bool IsStorableText(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = Utf8SequenceAt(text, at);
        if (length == 0) {
            return false;
        }
        at += length;
    }
    return true;
}

std::string StoredText(std::string_view bytes) {
    std::string text;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = Utf8SequenceAt(bytes, at);
        if (length > 0 && bytes[at] != '\\') {
            text.append(bytes.substr(at, length));
            at += length;
            continue;
        }
        if (bytes[at] == '\\') {
            text += "\\\\";
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X",
                          static_cast<unsigned char>(bytes[at]));
            text += escaped;
        }
        ++at;
    }
    return text;
}

std::string BytesOfStoredText(std::string_view text) {
    std::string bytes;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] != '\\' || at + 1 >= text.size()) {
            bytes += text[at];
        } else if (text[at + 1] == '\\') {
            bytes += '\\';
            ++at;
        } else if (text[at + 1] == 'x' && at + 3 < text.size() && HexValue(text[at + 2]) >= 0 &&
                   HexValue(text[at + 3]) >= 0) {
            bytes += static_cast<char>(HexValue(text[at + 2]) * 16 + HexValue(text[at + 3]));
            at += 3;
        } else {
            bytes += text[at];
        }
    }
    return bytes;
}
