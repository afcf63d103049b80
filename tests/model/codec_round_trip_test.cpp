#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <set>

#include "codec_rig.h"
#include "model/codec_tables.h"
#include "model/timing_math.h"

namespace fo = FrameOffset;

namespace {

class FrameMaker {
  public:
    explicit FrameMaker(unsigned seed) : m_random(seed) {}

    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }

    ConfigFrame RandomBytes() {
        ConfigFrame frame;
        for (auto& b : frame) {
            b = static_cast<std::uint8_t>(Pick(0, 255));
        }
        return frame;
    }

    // A module frame whose every setting lies in its range, so a build adjusts nothing.
    ConfigFrame Accepted() {
        ConfigFrame f = RandomBytes();
        const std::string name = "Lumivaro";
        std::copy(name.begin(), name.end(), f.begin() + fo::kMagic);
        const bool crystal27 = Pick(0, 1) == 1;
        f[fo::kCrystal] = crystal27 ? '7' : '6';
        const int crystal = crystal27 ? 27 : 26;

        f[fo::kNetworkIdLow] = Byte(0, 255);
        PutU16(f, fo::kSyncWord, SYNC_WORD_TABLE[static_cast<std::size_t>(Pick(0, 255))]);
        const int lowWord = static_cast<int>(std::ceil(410.0 * 65536 / crystal));
        const int highWord = static_cast<int>(480.0 * 65536 / crystal);
        const int word = Pick(lowWord, highWord);
        f[47] = static_cast<std::uint8_t>(word);
        f[48] = static_cast<std::uint8_t>(word >> 8);
        f[49] = static_cast<std::uint8_t>(word >> 16);
        f[fo::kRfBaudDef] = Byte(0, 11);
        f[fo::kRfBaudMax] = Byte(0, 11);
        f[fo::kRfBaudMin] = Byte(0, 11);
        f[fo::kCcaCode] = static_cast<std::uint8_t>(Pick(-52, 127));
        f[fo::kAuxChInterval] = Byte(1, 255);
        f[fo::kAuxChMask] = static_cast<std::uint8_t>((1 << Pick(0, 4)) - 1);
        f[fo::kRfPower] = Byte(0, 7);
        const int rate = Pick(0, 3) == 0 ? 0 : Pick(0, 2500);
        PutU16(f, fo::kSleepWakeRate, rate);
        f[fo::kSleep] = rate == 0 ? 0 : Byte(0, 1);
        f[fo::kDeviceNum] = Byte(0, 2);
        f[fo::kFlowCtrl] = Byte(0, 1);
        PutU16(f, fo::kHostBootTime, Pick(1, 65535));
        PutU16(f, fo::kResponseTimeout, Pick(1, 65535));
        f[fo::kActPinWakeup] = static_cast<std::uint8_t>(Pick(0, 63) << 2 | Pick(0, 2));
        if (Pick(0, 4) != 0) {  // otherwise an unknown pair, which must survive
            const auto baud = static_cast<std::size_t>(Pick(0, 12));
            f[fo::kUartBaudMantissa] = (crystal27 ? BAUD_M_27MHZ : BAUD_M_26MHZ)[baud];
            f[fo::kUartBaudExponent] = BAUD_E_TABLE[baud];
        }
        const std::uint8_t parity[] = {0x80, 0xB8, 0x98};
        f[fo::kUartControl] = static_cast<std::uint8_t>(
            parity[Pick(0, 2)] | (Pick(0, 1) ? 0x01 : 0x02) | Pick(0, 1) * 4);
        f[fo::kFrameMode] = Byte(0, 1);
        f[fo::kAddrLength] = Byte(1, 16);
        f[fo::kFrameEndCheck] = Byte(0, 3);
        const BackoffCode backoff = EncodeBackoffTick(Pick(1, 150000), crystal);
        f[fo::kBackoffMantissa] = backoff.mantissa;
        f[fo::kBackoffExponent] = backoff.exponentByte;
        for (std::size_t offset : {fo::kAutoSleepTimeout, fo::kTimeoutUp, fo::kTimeoutDown}) {
            PutU16(f, offset, Pick(1000, 65535));
        }
        for (std::size_t offset : {fo::kSyncDuration, fo::kBeaconDuration, fo::kAutoWakeSlot}) {
            PutU16(f, offset, Pick(5, 65535));
        }
        f[fo::kCompensationUnit] = Byte(1, 255);
        f[fo::kRepeat] = Byte(0, 1);
        for (std::size_t count = fo::kHandshakeAckCount; count <= fo::kBroadcastCmd2Count;
             ++count) {
            f[count] = Byte(0, 48);
        }
        SealFrame(f);
        return f;
    }

  private:
    std::uint8_t Byte(int low, int high) { return static_cast<std::uint8_t>(Pick(low, high)); }
    std::mt19937 m_random;
};

// Bytes a decode and encode may change: the backoff tick and the timeouts (rounded), and the
// bytes that are written but never read.
bool IsLossy(std::size_t offset) {
    return (offset >= fo::kBackoffMantissa && offset < fo::kSyncDuration) ||
           (offset >= fo::kWakeWord && offset <= fo::kTimingConstant);
}

TEST(CodecRoundTrip, AcceptedFramesComeBackByteForByte) {
    FrameMaker maker(2024);
    for (int round = 0; round < 500; ++round) {
        const ConfigFrame module = maker.Accepted();
        ASSERT_EQ(CheckFrame(module), FrameCheck::Accepted);
        CodecRig rig;
        rig.ShowAdvanced();
        rig.codec.DecodeFrame(module);
        ConfigFrame built = module;  // a Read leaves the module's bytes in the working frame
        rig.codec.EncodeFrame(built, rig.options);
        ASSERT_TRUE(rig.host.warnings.empty()) << round << ": " << rig.host.warnings[0];
        for (std::size_t i = 0; i < kFrameSize; ++i) {
            if (!IsLossy(i)) {
                ASSERT_EQ(built[i], module[i]) << "round " << round << " offset " << i;
            }
        }

        // The rounded timing bytes settle after one pass.
        rig.codec.DecodeFrame(built);
        ConfigFrame again = built;
        rig.codec.EncodeFrame(again, rig.options);
        ASSERT_TRUE(rig.host.warnings.empty());
        ASSERT_EQ(again, built) << "round " << round;
    }
}

// Bytes of the working frame that a build never writes.
void ExpectUntouchedBytesKept(const ConfigFrame& before, const ConfigFrame& after) {
    for (std::size_t i = 0; i < fo::kMac; ++i) {
        ASSERT_EQ(after[i], before[i]) << i;
    }
    ASSERT_EQ(after[fo::kFlipActPin] & 0xFE, before[fo::kFlipActPin] & 0xFE);
    for (std::size_t i = 301; i < kFrameSize; ++i) {
        ASSERT_EQ(after[i], before[i]) << i;
    }
    const std::size_t areas[] = {fo::kHandshakeAck, fo::kHostAddrInquiry, fo::kBroadcastCmd1,
                                 fo::kBroadcastCmd2};
    for (std::size_t a = 0; a < 4; ++a) {
        const std::size_t count = after[fo::kHandshakeAckCount + a];
        ASSERT_LE(count, fo::kCommandLength);
        for (std::size_t i = areas[a] + count; i < areas[a] + fo::kCommandLength; ++i) {
            ASSERT_EQ(after[i], before[i]) << i;
        }
    }
}

TEST(CodecRobustness, RandomFramesDecodeAndEncodeSafely) {
    FrameMaker maker(99);
    for (int round = 0; round < 1000; ++round) {
        const ConfigFrame module = maker.RandomBytes();
        CodecRig rig;
        rig.options.advancedShown = round % 2 != 0;
        rig.options.purpose =
            (round / 2) % 2 != 0 ? BuildPurpose::WriteOrSave : BuildPurpose::Apply;
        rig.codec.DecodeFrame(module);
        ASSERT_LE(rig.settings.m_strHandshakeAck.size(), 143u);
        ASSERT_LE(rig.settings.m_strBroadcastCmd2.size(), 143u);
        ASSERT_EQ(rig.settings.m_strMac.size(), 17u);
        ConfigFrame built = module;
        rig.codec.EncodeFrame(built, rig.options);
        ExpectUntouchedBytesKept(module, built);
        ASSERT_EQ(built[fo::kTimingConstant], 6);
        ASSERT_EQ(built[fo::kBackoffExponent] & 0x1F, 30);
        for (const auto& warning : rig.host.warnings) {
            ASSERT_LT(warning.size(), kWarningTextSize);
        }
    }
}

void SetEveryList(ConfigSettings& c, int position) {
    for (int ConfigSettings::*list :
         {&ConfigSettings::m_iFrameEndCheck, &ConfigSettings::m_iRfBaudMax,
          &ConfigSettings::m_iRfBaudMin, &ConfigSettings::m_iActPin, &ConfigSettings::m_iRfBaudDef,
          &ConfigSettings::m_iAuxChNum, &ConfigSettings::m_iRfPower, &ConfigSettings::m_iUartBaud,
          &ConfigSettings::m_iUartStartBit, &ConfigSettings::m_iFrameMode,
          &ConfigSettings::m_iUartParity, &ConfigSettings::m_iUartStopBit,
          &ConfigSettings::m_iDeviceNum}) {
        c.*list = position;
    }
}

TEST(CodecRobustness, ListsWithoutAChoiceWrite0xFF) {
    for (bool advanced : {false, true}) {
        CodecRig rig;
        rig.options.advancedShown = advanced;
        rig.frame[69] = 0x12;
        rig.frame[70] = 0x34;
        SetEveryList(rig.host.controls, -1);
        rig.codec.EncodeFrame(rig.frame, rig.options);
        for (std::size_t offset :
             {fo::kRfBaudDef, fo::kRfBaudMax, fo::kRfBaudMin, fo::kAuxChMask, fo::kRfPower,
              fo::kDeviceNum, fo::kFrameMode, fo::kFrameEndCheck, fo::kActPinWakeup}) {
            EXPECT_EQ(rig.frame[offset], 0xFF) << offset;
        }
        EXPECT_EQ(rig.frame[69], 0x12);
        EXPECT_EQ(rig.frame[70], 0x34);
        EXPECT_EQ(rig.frame[fo::kUartControl], 0x9D);  // Even, High, two stop bits
    }
}

TEST(CodecRobustness, ListsPastTheirEndAndExtremeNumbersStayInBounds) {
    for (int position :
         {5, 12, 13, 255, 1000, std::numeric_limits<int>::max(), std::numeric_limits<int>::min()}) {
        for (bool advanced : {false, true}) {
            CodecRig rig;
            rig.options.advancedShown = advanced;
            auto& c = rig.host.controls;
            SetEveryList(c, position);
            const int extreme =
                position < 0 ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
            c.m_nSleepWakeRate = c.m_nNetworkId = c.m_nBackoffTick = c.m_nAutoWakeSlot = extreme;
            c.m_nTimeoutUp = c.m_nAutoSleepTimeout = c.m_nBeaconDuration = extreme;
            c.m_nUartWakeupBytes = c.m_nAddrLength = extreme;
            c.m_dStartFreq = position < 0 ? -HUGE_VAL : std::nan("");
            c.m_dCcaThreshold = position < 0 ? std::nan("") : 1e300;
            rig.codec.EncodeFrame(rig.frame, rig.options);
            EXPECT_EQ(rig.frame[fo::kAuxChMask], 0xFF);
            EXPECT_EQ(rig.frame[fo::kTimingConstant], 6);
            EXPECT_FALSE(rig.host.warnings.empty());
            for (const auto& warning : rig.host.warnings) {
                EXPECT_LT(warning.size(), kWarningTextSize);
            }
        }
    }
}

}  // namespace
