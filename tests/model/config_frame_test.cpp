#include "model/config_frame.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "codec_rig.h"

namespace {

TEST(Crc16Cms, MatchesTheCatalogueCheckValues) {
    const char* check = "123456789";
    EXPECT_EQ(Crc16Cms(reinterpret_cast<const std::uint8_t*>(check), 9), 0xAEE7);
    EXPECT_EQ(Crc16Cms(nullptr, 0), 0xFFFF);
    EXPECT_EQ(Crc16Cms(reinterpret_cast<const std::uint8_t*>(check), -5), 0xFFFF);
    const std::vector<std::uint8_t> zeros(512, 0);
    EXPECT_EQ(Crc16Cms(zeros.data(), 512), 0x82DD);
}

TEST(SealFrame, WritesTheCommandAndTheBlockCrcLowByteFirst) {
    ConfigFrame frame = CodecRig::ModuleFrame();
    frame[300] = 0x5A;
    frame[0] = 'x';
    const ConfigFrame before = frame;
    SealFrame(frame);
    EXPECT_EQ(frame[0], 0x41);
    EXPECT_EQ(frame[1], 0x54);
    EXPECT_EQ(frame[2], 0x57);
    EXPECT_EQ(frame[3], 0x30);
    const std::uint16_t crc = Crc16Cms(frame.data() + 4, 512);
    EXPECT_EQ(frame[516], crc & 0xFF);
    EXPECT_EQ(frame[517], crc >> 8);
    EXPECT_TRUE(std::equal(before.begin() + 4, before.begin() + 516, frame.begin() + 4));
}

class FrameAcceptance : public testing::Test {
  protected:
    void SetUp() override {
        frame = CodecRig::ModuleFrame();
        SealFrame(frame);
    }
    ConfigFrame frame;
};

TEST_F(FrameAcceptance, AcceptsASealedModuleFrame) {
    EXPECT_EQ(CheckFrame(frame), FrameCheck::Accepted);
    EXPECT_STREQ(FrameCheckMessage(FrameCheck::Accepted), "");
}

TEST_F(FrameAcceptance, ShortFrameFailsOnLengthFirst) {
    const auto check = CheckFrame(std::span<const std::uint8_t>(frame.data(), 517));
    EXPECT_EQ(check, FrameCheck::LengthMismatch);
    EXPECT_STREQ(FrameCheckMessage(check), "The configuration block length does not match!");
    std::vector<std::uint8_t> longer(frame.begin(), frame.end());
    longer.push_back(0);
    EXPECT_EQ(CheckFrame(longer), FrameCheck::LengthMismatch);
}

TEST_F(FrameAcceptance, WrongMagicFailsBeforeTheCrc) {
    frame[4] = 'l';  // the CRC is now wrong too, but the magic decides
    const auto check = CheckFrame(frame);
    EXPECT_EQ(check, FrameCheck::MagicMismatch);
    EXPECT_STREQ(FrameCheckMessage(check),
                 "The configuration block verification word does not match!");
}

TEST_F(FrameAcceptance, ChangedBlockByteFailsTheCrc) {
    for (std::size_t offset : {12u, 100u, 301u, 515u}) {
        ConfigFrame changed = frame;
        changed[offset] ^= 0x01;
        const auto check = CheckFrameContent(changed);
        EXPECT_EQ(check, FrameCheck::CrcMismatch) << offset;
        EXPECT_STREQ(FrameCheckMessage(check), "The configuration block CRC error!");
    }
}

TEST_F(FrameAcceptance, CommandBytesAreNotChecked) {
    frame[0] = 'Z';
    frame[3] = 0;
    EXPECT_EQ(CheckFrame(frame), FrameCheck::Accepted);
}

TEST(DefaultWorkFrame, CarriesTheDefaultNameAndVersionOnly) {
    ConfigFrame frame;
    frame.fill(0x77);
    MakeDefaultWorkFrame(frame);
    EXPECT_EQ(std::memcmp(frame.data() + 4, "ORBA AMR KTR5520Q", 18), 0);  // NUL at 21
    EXPECT_EQ(frame[36], 6);
    EXPECT_EQ(frame[37], 1);
    for (std::size_t i = 0; i < frame.size(); ++i) {
        if ((i < 4 || i > 21) && i != 36 && i != 37) {
            EXPECT_EQ(frame[i], 0) << i;
        }
    }
    SealFrame(frame);
    EXPECT_EQ(CheckFrame(frame), FrameCheck::MagicMismatch);
}

TEST(ModuleNameText, ReadsUpToTheNulInsideTheNameField) {
    ConfigFrame frame = CodecRig::ModuleFrame();
    EXPECT_EQ(ModuleNameText(frame), "Lumivaro KTR5520Q");
}

TEST(ModuleNameText, NameWithoutNulStopsAtTheEndOfItsField) {
    ConfigFrame frame{};
    std::memset(frame.data() + 4, 'A', 24);
    frame[28] = 'N';
    frame[29] = 'X';
    EXPECT_EQ(ModuleNameText(frame), std::string(24, 'A'));
}

}  // namespace
