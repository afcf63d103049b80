#include "files/cfg_scramble.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

namespace {

TEST(CfgScramble, EveryByteIsMaskedWithTheFileMask) {
    std::array<std::uint8_t, 4> bytes{0x00, 0x3C, 0xFF, 'A'};
    ScrambleCfgBytes(bytes);
    EXPECT_EQ(bytes, (std::array<std::uint8_t, 4>{0x3C, 0x00, 0xC3, 'A' ^ 0x3C}));
}

TEST(CfgScramble, TwiceRestoresAWholeFrame) {
    std::array<std::uint8_t, 518> frame{};
    for (std::size_t i = 0; i < frame.size(); ++i) {
        frame[i] = static_cast<std::uint8_t>(i * 7);
    }
    const auto original = frame;
    ScrambleCfgBytes(frame);
    EXPECT_NE(frame, original);
    ScrambleCfgBytes(frame);
    EXPECT_EQ(frame, original);
}

}  // namespace
