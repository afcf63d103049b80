#include "model/identity_text.h"

#include <array>
#include <cstdio>

namespace fo = FrameOffset;

namespace {

std::string TypeText(std::uint8_t type) {
    if (type == 'N') {
        return "NODE";
    }
    if (type == 'R') {
        return "ROOT";
    }
    return "UNKNOWN";
}

// Formatted as C text: a NUL character from the frame ends the text there.
template <typename... Args>
std::string Formatted(const char* format, Args... args) {
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), format, args...);
    return text.data();
}

}  // namespace

IdentityText IdentityTextOf(const ConfigFrame& frame) {
    return {ModuleNameText(frame),
            Formatted("%d.%d", frame[fo::kVersionMajor], frame[fo::kVersionMinor]),
            TypeText(frame[fo::kType]),
            Formatted("4%c%cMHz", frame[fo::kBandDigit2], frame[fo::kBandDigit3]),
            Formatted("%c0dBm", frame[fo::kPowerClass])};
}
