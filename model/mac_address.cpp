#include "model/mac_address.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr std::uint64_t kMacMask = 0xFFFF'FFFF'FFFFull;

std::optional<std::uint8_t> HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return static_cast<std::uint8_t>(c - '0');
    }
    if (c >= 'a' && c <= 'f') {
        return static_cast<std::uint8_t>(c - 'a' + 10);
    }
    if (c >= 'A' && c <= 'F') {
        return static_cast<std::uint8_t>(c - 'A' + 10);
    }
    return std::nullopt;
}

std::string FormatWith(const MacAddress& mac, char separator) {
    char text[3 * std::tuple_size_v<MacAddress>] = {};
    int at = 0;
    for (std::size_t i = 0; i < mac.size(); ++i) {
        at += std::snprintf(text + at, sizeof text - static_cast<std::size_t>(at),
                            i == 0 ? "%02X" : "%c%02X", i == 0 ? mac[i] : separator, mac[i]);
    }
    return text;
}

}  // namespace

std::optional<MacAddress> ParseMacAddress(std::string_view text) {
    constexpr std::size_t kLength = 3 * std::tuple_size_v<MacAddress> - 1;
    if (text.size() != kLength) {
        return std::nullopt;
    }
    MacAddress mac{};
    for (std::size_t i = 0; i < mac.size(); ++i) {
        const std::size_t at = 3 * i;
        if (i > 0 && text[at - 1] != ':') {
            return std::nullopt;
        }
        const auto high = HexDigit(text[at]);
        const auto low = HexDigit(text[at + 1]);
        if (!high || !low) {
            return std::nullopt;
        }
        mac[i] = static_cast<std::uint8_t>(*high << 4 | *low);
    }
    return mac;
}

std::string FormatMacAddress(const MacAddress& mac) { return FormatWith(mac, ':'); }

std::string MacHexText(const MacAddress& mac) { return FormatWith(mac, ' '); }

std::uint64_t MacToNumber(const MacAddress& mac) {
    std::uint64_t number = 0;
    for (std::uint8_t byte : mac) {
        number = number << 8 | byte;
    }
    return number;
}

MacAddress MacFromNumber(std::uint64_t number) {
    MacAddress mac{};
    for (std::size_t i = mac.size(); i-- > 0;) {
        mac[i] = static_cast<std::uint8_t>(number & 0xFF);
        number >>= 8;
    }
    return mac;
}

MacAddress NextMacAddress(const MacAddress& mac) {
    return MacFromNumber((MacToNumber(mac) + 1) & kMacMask);
}

MacAddress MacOfFrame(const ConfigFrame& frame) {
    MacAddress mac{};
    std::copy_n(frame.begin() + FrameOffset::kMac, mac.size(), mac.begin());
    return mac;
}

void PutMacIntoFrame(ConfigFrame& frame, const MacAddress& mac) {
    std::copy(mac.begin(), mac.end(), frame.begin() + FrameOffset::kMac);
}
