#include "store/mac_text.h"

#include <charconv>

std::optional<MacNumber> MacNumberOfText(std::string_view text) {
    constexpr std::size_t kPairs = 6;
    if (text.size() != kPairs * 3 - 1) {
        return std::nullopt;
    }
    MacNumber mac = 0;
    for (std::size_t pair = 0; pair < kPairs; ++pair) {
        const std::size_t at = pair * 3;
        if (pair > 0 && text[at - 1] != ':' && text[at - 1] != ' ') {
            return std::nullopt;
        }
        unsigned value = 0;
        const auto parsed = std::from_chars(text.data() + at, text.data() + at + 2, value, 16);
        if (parsed.ptr != text.data() + at + 2) {
            return std::nullopt;
        }
        mac = (mac << 8) | value;
    }
    return mac;
}
