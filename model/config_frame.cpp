#include "model/config_frame.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr char kDefaultModuleName[] = "ORBA AMR KTR5520Q";
constexpr std::uint8_t kDefaultVersionMinor = 6;
constexpr std::uint8_t kDefaultVersionMajor = 1;

}  // namespace

std::uint16_t Crc16Cms(const std::uint8_t* data, std::int32_t length) {
    std::uint16_t crc = 0xFFFF;
    for (std::int32_t i = 0; i < length; ++i) {
        for (int bit = 7; bit >= 0; --bit) {
            const bool inputBit = ((data[i] >> bit) & 1) != 0;
            const bool shiftedOut = (crc & 0x8000) != 0;
            crc = static_cast<std::uint16_t>(crc << 1);
            if (inputBit != shiftedOut) {
                crc ^= 0x8005;
            }
        }
    }
    return crc;
}

void SealFrame(ConfigFrame& frame) {
    std::copy(kWriteCommand.begin(), kWriteCommand.end(), frame.begin());
    const std::uint16_t crc = Crc16Cms(frame.data() + FrameOffset::kBlock, kBlockSize);
    frame[FrameOffset::kCrc] = static_cast<std::uint8_t>(crc & 0xFF);
    frame[FrameOffset::kCrc + 1] = static_cast<std::uint8_t>(crc >> 8);
}

FrameCheck CheckFrame(std::span<const std::uint8_t> received) {
    if (received.size() != kFrameSize) {
        return FrameCheck::LengthMismatch;
    }
    ConfigFrame frame;
    std::copy(received.begin(), received.end(), frame.begin());
    return CheckFrameContent(frame);
}

FrameCheck CheckFrameContent(const ConfigFrame& frame) {
    if (!std::equal(kBlockMagic.begin(), kBlockMagic.end(), frame.begin() + FrameOffset::kMagic)) {
        return FrameCheck::MagicMismatch;
    }
    const std::uint16_t stored =
        static_cast<std::uint16_t>(frame[FrameOffset::kCrc] | (frame[FrameOffset::kCrc + 1] << 8));
    if (Crc16Cms(frame.data() + FrameOffset::kBlock, kBlockSize) != stored) {
        return FrameCheck::CrcMismatch;
    }
    return FrameCheck::Accepted;
}

const char* FrameCheckMessage(FrameCheck check) {
    switch (check) {
        case FrameCheck::Accepted:
            return "";
        case FrameCheck::LengthMismatch:
            return "The configuration block length does not match!";
        case FrameCheck::MagicMismatch:
            return "The configuration block verification word does not match!";
        case FrameCheck::CrcMismatch:
            return "The configuration block CRC error!";
    }
    return "";
}

void MakeDefaultWorkFrame(ConfigFrame& frame) {
    frame.fill(0);
    // The name with its terminating NUL: offsets 4-20 and 21.
    std::memcpy(frame.data() + FrameOffset::kName, kDefaultModuleName, sizeof kDefaultModuleName);
    frame[FrameOffset::kVersionMinor] = kDefaultVersionMinor;
    frame[FrameOffset::kVersionMajor] = kDefaultVersionMajor;
}

std::string ModuleNameText(const ConfigFrame& frame) {
    // A module's name field has no NUL when all 24 bytes are used; the text never runs past the
    // field into the type and power bytes.
    const auto first = frame.begin() + FrameOffset::kName;
    const auto last = first + FrameOffset::kNameLength;
    return std::string(first, std::find(first, last, std::uint8_t{0}));
}
