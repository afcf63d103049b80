#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "files/cfg_scramble.h"
#include "model/config_frame.h"

// A sealed frame as a module would give it: the magic at the start of the name, every other
// byte of the block a pattern, so that any byte lost or moved shows.
inline ConfigFrame ModuleLikeFrame() {
    ConfigFrame frame{};
    for (std::size_t i = FrameOffset::kBlock; i < FrameOffset::kCrc; ++i) {
        frame[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    std::memcpy(frame.data() + FrameOffset::kMagic, kBlockMagic.data(), kBlockMagic.size());
    SealFrame(frame);
    return frame;
}

// The bytes of a .cfg file holding `frame`.
inline std::vector<std::uint8_t> ScrambledFileOf(const ConfigFrame& frame) {
    std::vector<std::uint8_t> file(frame.begin(), frame.end());
    ScrambleCfgBytes(file);
    return file;
}
