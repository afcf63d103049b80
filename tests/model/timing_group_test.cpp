#include <gtest/gtest.h>

#include <string>

#include "codec_rig.h"
#include "model/timing_math.h"

namespace fo = FrameOffset;

namespace {

class TimingGroup : public testing::Test {
  protected:
    void BuildForWrite() {
        rig.codec.EncodeFrame(rig.frame, {.advancedShown = rig.options.advancedShown});
    }
    CodecRig rig;
};

TEST_F(TimingGroup, FreshStartFirstWriteUses500kbpsDefaults) {
    BuildForWrite();
    const ConfigSettings& s = rig.settings;
    EXPECT_EQ(s.m_nBackoffTick, 108);
    EXPECT_EQ(s.m_nAutoWakeSlot, 15);
    EXPECT_EQ(s.m_dCcaThreshold, -74.0);
    EXPECT_EQ(s.m_nBeaconDuration, 35);
    EXPECT_EQ(s.m_nAutoSleepTimeout, 2000);
    EXPECT_EQ(s.m_nTimeoutUp, 4000);
    EXPECT_EQ(s.m_nTimeoutDown, 4000);
    EXPECT_EQ(s.m_nSyncDuration, 25);
    EXPECT_EQ(s.m_nCompensationUnit, 200);

    EXPECT_EQ(rig.frame[53], 0);
    EXPECT_EQ(rig.frame[84], 22);
    EXPECT_EQ(rig.frame[85], 0x1E);
    EXPECT_EQ(rig.U16(86), 18519);
    EXPECT_EQ(rig.U16(88), 37038);
    EXPECT_EQ(rig.U16(90), 37038);
    EXPECT_EQ(rig.U16(92), 25);
    EXPECT_EQ(rig.U16(94), 35);
    EXPECT_EQ(rig.U16(96), 15);
    EXPECT_EQ(rig.U16(98), 0);
    EXPECT_EQ(rig.frame[100], 6);
    EXPECT_EQ(rig.frame[101], 200);

    EXPECT_EQ(rig.host.controls.m_nMainChannel, 0);
    EXPECT_EQ(rig.host.controls.m_nAuxChInterval, 10);
    EXPECT_EQ(rig.host.controls.m_nAuxStartChannel, 10);
    EXPECT_EQ(rig.host.controls.m_iAuxChNum, 0);  // a Write keeps the user's channel count
    EXPECT_TRUE(rig.host.warnings.empty());
}

TEST_F(TimingGroup, Rate19k2WithSleepWakeRate100) {
    rig.host.controls.m_iRfBaudDef = 6;
    rig.host.controls.m_nSleepWakeRate = 100;
    BuildForWrite();
    EXPECT_EQ(rig.settings.m_nBeaconDuration, 1250);
    EXPECT_EQ(rig.settings.m_nAutoSleepTimeout, 5460);
    EXPECT_EQ(rig.settings.m_nTimeoutUp, 4000);
    EXPECT_EQ(rig.settings.m_nTimeoutDown, 4000);
    EXPECT_EQ(rig.frame[84], 222);
    EXPECT_EQ(rig.frame[85], 0x1E);
    EXPECT_EQ(rig.U16(88), 3664);
    EXPECT_EQ(rig.U16(98), 92);

    rig.codec.DecodeTimingGroup(rig.frame);
    EXPECT_EQ(rig.settings.m_nBackoffTick, 1092);
    EXPECT_EQ(rig.settings.m_nTimeoutUp, 4001);  // rounded up in ticks, down in ms
}

TEST_F(TimingGroup, Rate1k2WithSleepWakeRate2500CapsTheAutoSleepTimeout) {
    rig.host.controls.m_iRfBaudDef = 11;
    rig.host.controls.m_iRfBaudMax = 11;
    rig.host.controls.m_nSleepWakeRate = 2500;
    BuildForWrite();
    EXPECT_EQ(rig.settings.m_nAutoSleepTimeout, 1140833);
    EXPECT_EQ(rig.U16(86), 65535);
    EXPECT_EQ(rig.settings.m_nTimeoutUp, 1088000);
    EXPECT_EQ(rig.settings.m_nTimeoutDown, 1088000);
    EXPECT_EQ(rig.frame[85], 0x9E);
    EXPECT_EQ(rig.frame[84], 221);
    EXPECT_EQ(rig.U16(98), 36833);
    EXPECT_TRUE(rig.host.warnings.empty());
}

TEST_F(TimingGroup, Crystal27QuantisesTheTableTick) {
    rig.UseCrystal('7');
    BuildForWrite();
    EXPECT_EQ(rig.frame[84], 23);
    EXPECT_EQ(rig.frame[85], 0x1E);
    rig.codec.DecodeTimingGroup(rig.frame);
    EXPECT_EQ(rig.settings.m_nBackoffTick, 109);
}

struct CcaCase {
    const char* name;
    double threshold;
    std::uint8_t code;
    double decoded;
};

class CcaCodes : public testing::TestWithParam<CcaCase> {};

TEST_P(CcaCodes, EncodeTruncatingTowardZeroAndDecodeSigned) {
    const CcaCase& c = GetParam();
    EXPECT_EQ(CcaCode(c.threshold), c.code);
    EXPECT_EQ(CcaThreshold(c.code), c.decoded);
}

INSTANTIATE_TEST_SUITE_P(Thresholds, CcaCodes,
                         testing::Values(CcaCase{"Minus80", -80.0, 0xF4, -80.0},
                                         CcaCase{"Minus99Point7Truncates", -99.7, 0xCD, -99.5},
                                         CcaCase{"Minus74IsZero", -74.0, 0x00, -74.0},
                                         CcaCase{"Minus10Point5", -10.5, 0x7F, -10.5},
                                         // -10.0 would be code 128; the byte carries 127 instead.
                                         CcaCase{"Minus10StoredAs127", -10.0, 0x7F, -10.5},
                                         CcaCase{"Minus100", -100.0, 0xCC, -100.0}),
                         [](const testing::TestParamInfo<CcaCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(CcaThreshold, Byte0x80DecodesToTheBottomOfTheRange) {
    EXPECT_EQ(CcaThreshold(0x80), -138.0);
}

// The default threshold 0.0 meets its range check in any build with the panel shown.
TEST_F(TimingGroup, DefaultThresholdIsAdjustedToMinus10AndStoredAs127) {
    rig.ShowAdvanced();
    rig.TypeValidTimings();
    rig.host.controls.m_dCcaThreshold = 0.0;
    rig.codec.EncodeFrame(rig.frame, rig.options);
    EXPECT_EQ(rig.settings.m_dCcaThreshold, -10.0);
    EXPECT_EQ(rig.frame[fo::kCcaCode], 0x7F);
    ASSERT_EQ(rig.host.warnings.size(), 1u);
    EXPECT_EQ(rig.host.warnings[0],
              "CCA threshold is equal to 0.0000dBm which is beyond the scope [-100.0000dBm ~ "
              "-10.0000dBm], it will be automatically adjusted to -10.0000dBm!");
}

TEST_F(TimingGroup, AdvancedShownBackoffTickZeroIsRaisedToOne) {
    rig.ShowAdvanced();
    rig.TypeValidTimings();
    rig.host.controls.m_nBackoffTick = 0;
    rig.host.controls.m_nAutoSleepTimeout = 66;
    rig.host.controls.m_nTimeoutUp = 0;
    rig.host.controls.m_nTimeoutDown = 65;
    rig.codec.EncodeFrame(rig.frame, rig.options);
    EXPECT_EQ(rig.settings.m_nBackoffTick, 1);
    EXPECT_EQ(rig.frame[84], 1);
    EXPECT_EQ(rig.frame[85], 0x1E);
    EXPECT_EQ(rig.settings.m_nAutoSleepTimeout, 65);
    EXPECT_EQ(rig.settings.m_nTimeoutUp, 1);
    EXPECT_EQ(rig.U16(86), 65000);
    EXPECT_EQ(rig.U16(88), 1000);
    EXPECT_EQ(rig.host.warnings.size(), 3u);
}

TEST_F(TimingGroup, DecodeReadsOnlyTheExponentBitsOfByte85) {
    ConfigFrame frame = CodecRig::ModuleFrame();
    frame[84] = 221;
    frame[85] = 0x80;  // E = 4, low bits clear
    rig.codec.DecodeFrame(frame);
    EXPECT_EQ(rig.settings.m_nBackoffTick, 17408);
}

// 256 x 2^(E+7) is the same tick as 128 x 2^(E+8).
TEST(BackoffTick, MantissaOverflowMovesToTheNextExponent) {
    for (int tick = 1256; tick <= 1260; ++tick) {
        const BackoffCode code = EncodeBackoffTick(tick, 26);
        EXPECT_EQ(code.mantissa, 128) << tick;
        EXPECT_EQ(code.exponentByte, 1 * 32 + 30) << tick;
        EXPECT_EQ(DecodeBackoffTick(code.mantissa, code.exponentByte, 26), 1260);
    }
    for (int tick = 1209; tick <= 1213; ++tick) {
        const BackoffCode code = EncodeBackoffTick(tick, 27);
        EXPECT_EQ(code.mantissa, 128) << tick;
        EXPECT_EQ(code.exponentByte, 1 * 32 + 30) << tick;
    }
    EXPECT_EQ(EncodeBackoffTick(1255, 26).mantissa, 255);
}

// Past the 3-bit exponent the fields carry their longest tick.
TEST(BackoffTick, ExponentAboveSevenSaturates) {
    for (int tick : {154738, 155344, 155345, 160000}) {
        const BackoffCode code = EncodeBackoffTick(tick, 27);
        EXPECT_EQ(code.mantissa, 255) << tick;
        EXPECT_EQ(code.exponentByte, 0xFE) << tick;
    }
    EXPECT_EQ(DecodeBackoffTick(255, 0xFE, 27), 154737);
    const BackoffCode top26 = EncodeBackoffTick(160000, 26);
    EXPECT_EQ(top26.exponentByte, 0xFE);
    EXPECT_EQ(top26.mantissa, 254);
}

// Every tick in range is carried by the shortest mantissa of its exponent that is not shorter
// than the tick, except past the fields' longest tick.
TEST(BackoffTick, EncodedTickIsTheShortestNotBelowTheRequest) {
    for (int crystal : {26, 27}) {
        for (int tick = 1; tick <= 160000; ++tick) {
            const BackoffCode code = EncodeBackoffTick(tick, crystal);
            const int exponent = code.exponentByte >> 5;
            ASSERT_EQ(code.exponentByte & 0x1F, 30);
            ASSERT_GE(code.mantissa, 1);
            const std::int64_t periods = std::int64_t{crystal} * tick;
            const std::int64_t carried = std::int64_t{code.mantissa} << (exponent + 7);
            if (carried == std::int64_t{255} << 14) {
                continue;  // saturated
            }
            ASSERT_GE(carried, periods) << tick;
            ASSERT_LT(carried - (std::int64_t{1} << (exponent + 7)), periods) << tick;
        }
    }
}

TEST(TimeoutConversion, TicksRoundUpAndMillisecondsRoundDown) {
    EXPECT_EQ(TimeoutToTicks(2000, 108), 18519);
    EXPECT_EQ(TimeoutToTicks(4000, 1092), 3664);
    EXPECT_EQ(TicksToTimeout(3664, 1092), 4001);
    EXPECT_EQ(TimeoutToTicks(TimeoutHighBound(160000), 160000), 65535);
    EXPECT_EQ(TimeoutLowBound(999), 1);
    EXPECT_EQ(TimeoutLowBound(2999), 2);
    EXPECT_EQ(TimeoutHighBound(160000), 10485600);
}

// Slot 100 at 1.2 kbps with rate 2500 is far past the 16-bit field: it saturates.
TEST_F(TimingGroup, WakeWordSaturatesAt65535) {
    rig.ShowAdvanced();
    rig.TypeValidTimings();
    rig.host.controls.m_nSleepWakeRate = 2500;
    rig.host.controls.m_nBackoffTick = 17408;
    rig.host.controls.m_nAutoWakeSlot = 100;
    rig.host.controls.m_nAutoSleepTimeout = 20000;
    rig.host.controls.m_nTimeoutUp = 20000;
    rig.host.controls.m_nTimeoutDown = 20000;
    rig.codec.EncodeFrame(rig.frame, rig.options);
    EXPECT_TRUE(rig.host.warnings.empty());
    EXPECT_EQ(rig.U16(98), 65535);
    EXPECT_EQ(WakeWord(2500, 25, 26, 17408), 36833);
    EXPECT_EQ(WakeWord(65535, 65535, 27, 160000), 65535);
}

}  // namespace
