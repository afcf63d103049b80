#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "codec_rig.h"

namespace {

class RangeCheck : public testing::Test {
  protected:
    CodecRig rig;
};

TEST_F(RangeCheck, IntegerAboveTheRangeGetsTheHighBoundAndTheDocumentedText) {
    int rate = 3000;
    rig.codec.ClampInt(rate, 0, 2500, "Sleep-wake rate", "");
    EXPECT_EQ(rate, 2500);
    ASSERT_EQ(rig.host.warnings.size(), 1u);
    EXPECT_EQ(rig.host.warnings[0],
              "Sleep-wake rate is equal to 3000 which is beyond the scope [0 ~ 2500], it will be "
              "automatically adjusted to 2500!");
}

TEST_F(RangeCheck, IntegerBelowTheRangeCarriesTheUnitAfterEveryNumber) {
    int bootTime = 0;
    rig.codec.ClampInt(bootTime, 1, 65535, "HOST boot time", "ms");
    EXPECT_EQ(bootTime, 1);
    ASSERT_EQ(rig.host.warnings.size(), 1u);
    EXPECT_EQ(rig.host.warnings[0],
              "HOST boot time is equal to 0ms which is beyond the scope [1ms ~ 65535ms], it will "
              "be automatically adjusted to 1ms!");
}

TEST_F(RangeCheck, DoubleTextHasFourDecimals) {
    double frequency = 500.0;
    rig.codec.ClampDouble(frequency, 410.0, 480.0, "Start Frequency", "MHz");
    EXPECT_EQ(frequency, 480.0);
    ASSERT_EQ(rig.host.warnings.size(), 1u);
    EXPECT_EQ(rig.host.warnings[0],
              "Start Frequency is equal to 500.0000MHz which is beyond the scope [410.0000MHz ~ "
              "480.0000MHz], it will be automatically adjusted to 480.0000MHz!");
}

TEST_F(RangeCheck, ValuesOnABoundOrInsidePassSilently) {
    int networkId = 65535;
    int addressLength = 1;
    double cca = -10.0;
    int negative = -3;
    rig.codec.ClampInt(networkId, 0, 65535, "Network ID", "");
    rig.codec.ClampInt(addressLength, 1, 16, "Address length", "");
    rig.codec.ClampDouble(cca, -100.0, -10.0, "CCA threshold", "dBm");
    EXPECT_TRUE(rig.host.warnings.empty());
    EXPECT_EQ(networkId, 65535);
    EXPECT_EQ(addressLength, 1);
    EXPECT_EQ(cca, -10.0);
    rig.codec.ClampInt(negative, 0, 255, "Main channel", "");
    EXPECT_EQ(negative, 0);
    EXPECT_EQ(rig.host.warnings.size(), 1u);
}

TEST_F(RangeCheck, ExtremeIntegersFitTheScratchText) {
    int value = std::numeric_limits<int>::min();
    rig.codec.ClampInt(value, std::numeric_limits<int>::min() + 1, std::numeric_limits<int>::max(),
                       "Synchronization message duration", "ticks");
    ASSERT_EQ(rig.host.warnings.size(), 1u);
    EXPECT_NE(rig.host.warnings[0].find("-2147483648ticks"), std::string::npos);
    EXPECT_EQ(rig.host.warnings[0].back(), '!');
}

// %.4f of 1e130 prints over a hundred digits per number; the text falls back to the short
// exponent form and stays within the 256-byte scratch.
TEST_F(RangeCheck, AbsurdDoubleIsShortenedWithinTheScratch) {
    for (double absurd : {1e130, -1e300, std::numeric_limits<double>::infinity()}) {
        rig.host.warnings.clear();
        double value = absurd;
        rig.codec.ClampDouble(value, -100.0, -10.0, "CCA threshold", "dBm");
        ASSERT_EQ(rig.host.warnings.size(), 1u);
        const std::string& text = rig.host.warnings[0];
        EXPECT_LT(text.size(), 256u);
        EXPECT_EQ(text.back(), '!') << text;
        EXPECT_EQ(value, absurd > 0 ? -10.0 : -100.0);
    }
    EXPECT_NE(rig.host.warnings[0].find("inf"), std::string::npos);
    double big = 1e130;
    rig.codec.ClampDouble(big, 410.0, 480.0, "Start Frequency", "MHz");
    EXPECT_EQ(rig.host.warnings.back(),
              "Start Frequency is equal to 1e+130MHz which is beyond the scope [410MHz ~ 480MHz], "
              "it will be automatically adjusted to 480MHz!");
}

TEST_F(RangeCheck, NotANumberIsAdjustedToTheLowBound) {
    double value = std::nan("");
    rig.codec.ClampDouble(value, 410.0, 480.0, "Start Frequency", "MHz");
    EXPECT_EQ(value, 410.0);
    ASSERT_EQ(rig.host.warnings.size(), 1u);
    EXPECT_NE(rig.host.warnings[0].find("nan"), std::string::npos);
}

TEST_F(RangeCheck, SettingChangesOnlyAfterTheBoxIsDismissed) {
    int seenDuringBox = 0;
    rig.host.onWarning = [&](const char*) { seenDuringBox = rig.settings.m_nNetworkId; };
    rig.settings.m_nNetworkId = 70000;
    rig.codec.ClampInt(rig.settings.m_nNetworkId, 0, 65535, "Network ID", "");
    EXPECT_EQ(seenDuringBox, 70000);
    EXPECT_EQ(rig.settings.m_nNetworkId, 65535);
}

// Every validated setting out of range at once: one box each, in the build's order.
TEST_F(RangeCheck, FullBuildWarnsInTableOrder) {
    rig.ShowAdvanced();
    auto& c = rig.host.controls;
    c.m_nSleepWakeRate = 2501;
    c.m_nNetworkId = -1;
    c.m_nMainChannel = 256;
    c.m_nAuxStartChannel = 256;
    c.m_nAuxChInterval = 0;
    c.m_nHostBootTime = 0;
    c.m_nResponseTimeout = 0;
    c.m_nSyncInterval = 65536;
    c.m_dStartFreq = 409.0;
    c.m_nFrameStartSync = 256;
    c.m_nFrameStopSync = -1;
    c.m_nAddrLength = 17;
    c.m_nDownlinkAddrOffset = 256;
    c.m_nUplinkAddrOffset = 256;
    c.m_nBroadcastWildcard = 256;
    c.m_nMulticastWildcard = 256;
    c.m_nUartWakeupBytes = 64;
    c.m_nFrameLenOffset = 256;
    c.m_nFrameLenAmendment = 256;
    c.m_nBackoffTick = 160001;
    c.m_dCcaThreshold = -101.0;
    c.m_nCompensationUnit = 0;
    c.m_nAutoSleepTimeout = 0;
    c.m_nTimeoutUp = 99999999;
    c.m_nTimeoutDown = 0;
    c.m_nSyncDuration = 4;
    c.m_nAutoWakeSlot = 65536;
    c.m_nBeaconDuration = 4;
    rig.codec.EncodeFrame(rig.frame, rig.options);

    const std::vector<std::string> names{"Sleep-wake rate is",
                                         "Network ID is",
                                         "Main channel is",
                                         "Auxiliary start channel is",
                                         "Auxiliary channel interval is",
                                         "HOST boot time is",
                                         "Host response timeout is",
                                         "Synchronization interval time is",
                                         "Start Frequency is",
                                         "Frame start sync byte is",
                                         "Frame stop sync byte is",
                                         "Address length is",
                                         "Downlink address offset is",
                                         "Uplink address offset is",
                                         "Broadcast address wildcard is",
                                         "Multicast address wildcard is",
                                         "UART Wakeup bytes is",
                                         "Packet length offset is",
                                         "Packet length amendment is",
                                         "Backoff tick is",
                                         "CCA threshold is",
                                         "Compensation Uint is",
                                         "Auto-sleep timeout is",
                                         "Timeout Uplink is",
                                         "Timeout downlink is",
                                         "Synchronization message duration is",
                                         "Auto-wake slot is",
                                         "Beacon message duration is"};
    ASSERT_EQ(rig.host.warnings.size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(rig.host.warnings[i].rfind(names[i], 0), 0u) << rig.host.warnings[i];
    }
    EXPECT_EQ(rig.host.warnings[22],
              "Auto-sleep timeout is equal to 0ms which is beyond the scope [160ms ~ 10485600ms], "
              "it will be automatically adjusted to 160ms!");
    EXPECT_EQ(rig.host.warnings[21],
              "Compensation Uint is equal to 0ticks which is beyond the scope [1ticks ~ 255ticks], "
              "it will be automatically adjusted to 1ticks!");

    // The frame carries every adjusted value.
    EXPECT_EQ(rig.U16(FrameOffset::kSleepWakeRate), 2500);
    EXPECT_EQ(rig.frame[FrameOffset::kNetworkIdLow], 0);
    EXPECT_EQ(rig.frame[FrameOffset::kMainChannel], 255);
    EXPECT_EQ(rig.frame[FrameOffset::kAuxChInterval], 1);
    EXPECT_EQ(rig.U16(FrameOffset::kSyncInterval), 65535);
    EXPECT_EQ(rig.frame[FrameOffset::kAddrLength], 16);
    EXPECT_EQ(rig.frame[FrameOffset::kActPinWakeup] >> 2, 63);
    EXPECT_EQ(rig.frame[FrameOffset::kCompensationUnit], 1);
    EXPECT_EQ(rig.U16(FrameOffset::kAutoSleepTimeout), 1);  // 160 ms of 160000 us ticks
    EXPECT_EQ(rig.U16(FrameOffset::kTimeoutUp), 65535);
    EXPECT_EQ(rig.U16(FrameOffset::kSyncDuration), 5);
    EXPECT_EQ(rig.U16(FrameOffset::kAutoWakeSlot), 65535);
    // The adjustments stay in the record: the panel is shown, so nothing re-reads the controls.
    EXPECT_EQ(rig.settings.m_nSleepWakeRate, 2500);
    EXPECT_EQ(rig.settings.m_nBackoffTick, 160000);
    EXPECT_EQ(rig.host.controls.m_nSleepWakeRate, 2501);
}

struct TimeoutBoundsCase {
    const char* name;
    int typedTick;
    int low;
    int high;
};

class TimeoutBounds : public testing::TestWithParam<TimeoutBoundsCase> {};

// The three timeouts accept one tick (in whole ms, at least 1) up to 65535 ticks.
TEST_P(TimeoutBounds, FollowTheValidatedBackoffTick) {
    const TimeoutBoundsCase& c = GetParam();
    CodecRig rig;
    rig.ShowAdvanced();
    rig.TypeValidTimings();
    rig.host.controls.m_nBackoffTick = c.typedTick;
    rig.host.controls.m_nAutoSleepTimeout = c.low;
    rig.host.controls.m_nTimeoutUp = c.high;
    rig.host.controls.m_nTimeoutDown = c.high + 1;
    rig.codec.EncodeFrame(rig.frame, rig.options);
    std::vector<std::string> timeoutWarnings;
    for (const auto& w : rig.host.warnings) {
        if (w.find("Timeout") != std::string::npos || w.find("timeout") != std::string::npos) {
            timeoutWarnings.push_back(w);
        }
    }
    ASSERT_EQ(timeoutWarnings.size(), 1u);
    EXPECT_EQ(timeoutWarnings[0], "Timeout downlink is equal to " + std::to_string(c.high + 1) +
                                      "ms which is beyond the scope [" + std::to_string(c.low) +
                                      "ms ~ " + std::to_string(c.high) +
                                      "ms], it will be automatically adjusted to " +
                                      std::to_string(c.high) + "ms!");
    EXPECT_EQ(rig.settings.m_nTimeoutDown, c.high);
    EXPECT_EQ(rig.settings.m_nAutoSleepTimeout, c.low);
}

INSTANTIATE_TEST_SUITE_P(Ticks, TimeoutBounds,
                         testing::Values(TimeoutBoundsCase{"Tick500", 500, 1, 32767},
                                         TimeoutBoundsCase{"Tick1092", 1092, 1, 71564},
                                         TimeoutBoundsCase{"Tick160000", 160000, 160, 10485600},
                                         TimeoutBoundsCase{"Tick0RaisedTo1", 0, 1, 65}),
                         [](const testing::TestParamInfo<TimeoutBoundsCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace

namespace {

// A command run from inside a warning box (a module arriving in Auto Config mode) can change
// validated settings before the build writes them; the build still stays inside its tables
// and fields.
TEST(NestedCommandDuringWarningBox, ChangedSettingsNeverLeaveTheirFields) {
    CodecRig rig;
    rig.ShowAdvanced();
    rig.TypeValidTimings();
    rig.host.controls.m_nMainChannel = 300;        // a box after the network ID check
    rig.host.controls.m_nFrameLenAmendment = 300;  // a box after the wake-up bytes check
    rig.host.controls.m_nBeaconDuration = 1;       // a box after the auto-wake slot check
    rig.host.controls.m_nSleepWakeRate = 2500;
    rig.host.onWarning = [&](const char*) {
        rig.settings.m_nNetworkId = 70000;
        rig.settings.m_nUartWakeupBytes = -1;
        rig.settings.m_nAutoWakeSlot = std::numeric_limits<int>::max();
        rig.settings.m_dCcaThreshold = std::nan("");
    };
    rig.codec.EncodeFrame(rig.frame, rig.options);
    EXPECT_GE(rig.host.warnings.size(), 3u);
    EXPECT_EQ(rig.U16(FrameOffset::kSyncWord), 0xE4C6);
    EXPECT_EQ(rig.frame[FrameOffset::kActPinWakeup], 0xFC);
    EXPECT_EQ(rig.frame[FrameOffset::kCcaCode], 0x80);
    EXPECT_EQ(rig.U16(FrameOffset::kWakeWord), 65535);
}

}  // namespace
