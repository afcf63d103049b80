#include "files/cfg_file_loader.h"

#include <algorithm>
#include <cstdint>

#include "files/cfg_file_reader.h"
#include "files/cfg_scramble.h"

namespace {

// Bytes 4-27 are exactly the name field of the default working frame.
bool HoldsDefaultName(const ConfigFrame& frame) {
    ConfigFrame defaults;
    MakeDefaultWorkFrame(defaults);
    const auto name = defaults.begin() + FrameOffset::kName;
    return std::equal(name, name + FrameOffset::kNameLength, frame.begin() + FrameOffset::kName);
}

bool CrcMatches(const ConfigFrame& frame) {
    const auto stored =
        static_cast<std::uint16_t>(frame[FrameOffset::kCrc] | (frame[FrameOffset::kCrc + 1] << 8));
    return Crc16Cms(frame.data() + FrameOffset::kBlock, kBlockSize) == stored;
}

CfgLoadOutcome CheckLoadedFrame(const ConfigFrame& frame) {
    switch (CheckFrameContent(frame)) {
        case FrameCheck::Accepted:
            return CfgLoadOutcome::Loaded;
        case FrameCheck::CrcMismatch:
            return CfgLoadOutcome::CrcMismatch;
        case FrameCheck::MagicMismatch:
            if (!HoldsDefaultName(frame)) {
                return CfgLoadOutcome::MagicMismatch;
            }
            return CrcMatches(frame) ? CfgLoadOutcome::Loaded : CfgLoadOutcome::CrcMismatch;
        case FrameCheck::LengthMismatch:
            break;
    }
    return CfgLoadOutcome::TooShort;
}

}  // namespace

CfgLoadOutcome LoadCfgFile(const std::string& path, ConfigFrame& frame, FileIo& io) {
    CfgFileReader reader(io);
    if (!reader.Open(path)) {
        return CfgLoadOutcome::NotOpened;
    }
    const std::size_t received = reader.Read(frame);
    reader.Close();
    if (received < frame.size()) {
        return CfgLoadOutcome::TooShort;
    }
    const ConfigFrame stored = frame;
    return CheckCfgBytes(stored, frame);
}

CfgLoadOutcome CheckCfgBytes(std::span<const std::uint8_t> stored, ConfigFrame& frame) {
    if (stored.size() < frame.size()) {
        return CfgLoadOutcome::TooShort;
    }
    std::copy_n(stored.begin(), frame.size(), frame.begin());
    ScrambleCfgBytes(frame);
    return CheckLoadedFrame(frame);
}
