#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "codec_rig.h"
#include "model/timing_tables.h"

namespace fo = FrameOffset;

namespace {

struct ChannelPlanCase {
    const char* name;
    int rfBaudDef;
    int rfBaudMax;
    int interval;
    int auxChNum;
};

class ChannelPlan : public testing::TestWithParam<ChannelPlanCase> {};

// A selection change by the user: the plan reaches the controls, channel count included.
TEST_P(ChannelPlan, FollowsTheFasterOfTheTwoRates) {
    const ChannelPlanCase& c = GetParam();
    CodecRig rig;
    rig.host.controls.m_iRfBaudDef = c.rfBaudDef;
    rig.host.controls.m_iRfBaudMax = c.rfBaudMax;
    rig.host.controls.m_nMainChannel = 7;
    rig.host.controls.m_iAuxChNum = 0;
    rig.codec.ApplyRfBaudDefaults();
    EXPECT_EQ(rig.host.controls.m_nAuxChInterval, c.interval);
    EXPECT_EQ(rig.host.controls.m_nAuxStartChannel, c.interval);
    EXPECT_EQ(rig.host.controls.m_iAuxChNum, c.auxChNum);
    EXPECT_EQ(rig.host.controls.m_nMainChannel, 0);

    rig.host.controls.m_iAuxChNum = 0;
    rig.host.controls.m_nAuxChInterval = 99;
    rig.codec.ApplyRfBaudMaxDefaults();
    EXPECT_EQ(rig.host.controls.m_nAuxChInterval, c.interval);
    EXPECT_EQ(rig.host.controls.m_iAuxChNum, c.auxChNum);
    EXPECT_EQ(rig.host.controls.m_nCompensationUnit, 200);
}

INSTANTIATE_TEST_SUITE_P(Rates, ChannelPlan,
                         testing::Values(ChannelPlanCase{"Def19k2Max250k", 6, 1, 5, 2},
                                         ChannelPlanCase{"Def500kMax1k2", 0, 11, 10, 2},
                                         ChannelPlanCase{"Def38k4Max9k6", 5, 7, 1, 3},
                                         ChannelPlanCase{"Def175kMax175k", 2, 2, 3, 2},
                                         ChannelPlanCase{"Def100kMax76k8", 3, 4, 2, 2},
                                         ChannelPlanCase{"Def76k8Max1k2", 4, 11, 2, 2},
                                         ChannelPlanCase{"NoDefChoice", -1, 0, 1, 3},
                                         ChannelPlanCase{"NoMaxChoice", 0, -1, 1, 3}),
                         [](const testing::TestParamInfo<ChannelPlanCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(RfBaudDefaults, BuildingAFrameKeepsTheChannelCount) {
    CodecRig rig;
    rig.host.controls.m_iRfBaudDef = 5;
    rig.host.controls.m_iRfBaudMax = 5;
    rig.host.controls.m_iAuxChNum = 1;
    rig.codec.ApplyRfBaudDefaults(true);
    EXPECT_EQ(rig.host.controls.m_iAuxChNum, 1);
    EXPECT_EQ(rig.host.controls.m_nAuxChInterval, 1);
}

TEST(RfBaudDefaults, EveryRateGivesItsTableEntriesAndTheMinimumTimeouts) {
    for (int rate = 0; rate < 12; ++rate) {
        CodecRig rig;
        rig.host.controls.m_iRfBaudDef = rate;
        rig.codec.ApplyRfBaudDefaults();
        const ConfigSettings& c = rig.host.controls;
        EXPECT_EQ(c.m_nBackoffTick, BACKOFF_TICK_TABLE[rate]);
        EXPECT_EQ(c.m_nAutoWakeSlot, AUTO_WAKE_SLOT_TABLE[rate]);
        EXPECT_EQ(c.m_dCcaThreshold, CCA_THRESHOLD_TABLE[rate]);
        EXPECT_EQ(c.m_nBeaconDuration, 35);
        EXPECT_EQ(c.m_nAutoSleepTimeout, 2000);
        EXPECT_EQ(c.m_nTimeoutUp, 4000);
        EXPECT_EQ(c.m_nTimeoutDown, 4000);
        EXPECT_EQ(c.m_nSyncDuration, 25);
        EXPECT_EQ(rig.host.saveExchanges, 1);
        EXPECT_EQ(rig.host.loadExchanges, 1);
    }
}

// Without an RF Baud Def choice there is no table entry: the table-derived values stay, the
// rate-independent defaults and the narrow channel plan still apply.
TEST(RfBaudDefaults, NoDefaultRateChoiceKeepsTheTableDerivedValues) {
    for (int position : {-1, 12, 1000}) {
        CodecRig rig;
        auto& c = rig.host.controls;
        c.m_iRfBaudDef = position;
        c.m_iRfBaudMax = 11;
        c.m_nBackoffTick = 333;
        c.m_dCcaThreshold = -50.0;
        c.m_nAutoWakeSlot = 44;
        c.m_nBeaconDuration = 55;
        c.m_nAutoSleepTimeout = 6666;
        c.m_nTimeoutUp = 7777;
        c.m_nTimeoutDown = 8888;
        c.m_nSyncDuration = 99;
        c.m_nMainChannel = 3;
        rig.codec.ApplyRfBaudDefaults();
        EXPECT_EQ(c.m_nBackoffTick, 333);
        EXPECT_EQ(c.m_dCcaThreshold, -50.0);
        EXPECT_EQ(c.m_nAutoWakeSlot, 44);
        EXPECT_EQ(c.m_nBeaconDuration, 55);
        EXPECT_EQ(c.m_nAutoSleepTimeout, 6666);
        EXPECT_EQ(c.m_nTimeoutUp, 7777);
        EXPECT_EQ(c.m_nTimeoutDown, 8888);
        EXPECT_EQ(c.m_nSyncDuration, 25);
        EXPECT_EQ(c.m_nMainChannel, 0);
        EXPECT_EQ(c.m_nAuxChInterval, 1);
        EXPECT_EQ(c.m_iAuxChNum, 3);
    }
}

// An unvalidated rate can push R x s / 2 past the int range; it saturates, then the range check
// brings it to 65535.
TEST(RfBaudDefaults, HugeBeaconSaturatesBeforeValidation) {
    CodecRig rig;
    rig.host.controls.m_nSleepWakeRate = std::numeric_limits<int>::max();
    rig.codec.ApplyRfBaudDefaults();
    EXPECT_EQ(rig.settings.m_nBeaconDuration, std::numeric_limits<int>::max());
    EXPECT_EQ(rig.settings.m_nAutoSleepTimeout, 7077);  // capped at H(108)
    EXPECT_EQ(rig.settings.m_nTimeoutUp, 7077);

    rig.codec.EncodeFrame(rig.frame, rig.options);
    EXPECT_EQ(rig.U16(fo::kBeaconDuration), 65535);
    EXPECT_EQ(rig.host.warnings.back(),
              "Beacon message duration is equal to 2147483647tick which is beyond the scope [5tick "
              "~ 65535tick], it will be automatically adjusted to 65535tick!");

    rig.host.controls.m_nSleepWakeRate = std::numeric_limits<int>::min();
    rig.codec.ApplyRfBaudDefaults();
    EXPECT_EQ(rig.settings.m_nBeaconDuration, 35);
    EXPECT_EQ(rig.settings.m_nAutoSleepTimeout, 2000);
}

class HiddenPanel : public testing::Test {
  protected:
    CodecRig rig;
};

// The defaults' save exchange re-reads the controls in the middle of the build: the frame keeps
// the adjusted values, the record and the controls keep what was typed.
TEST_F(HiddenPanel, AdjustmentsReachTheFrameButNotTheRecord) {
    auto& c = rig.host.controls;
    c.m_nSleepWakeRate = 3000;
    c.m_bSleep = 1;
    c.m_nAddrLength = 40;
    c.m_dStartFreq = 500.0;
    rig.codec.EncodeFrame(rig.frame, rig.options);
    ASSERT_EQ(rig.host.warnings.size(), 3u);
    EXPECT_EQ(rig.U16(fo::kSleepWakeRate), 2500);
    EXPECT_EQ(rig.frame[fo::kAddrLength], 16);
    EXPECT_EQ(rig.frame[fo::kFreqWord + 2], 0x12);  // 480 MHz
    EXPECT_EQ(rig.settings.m_nSleepWakeRate, 3000);
    EXPECT_EQ(rig.settings.m_nAddrLength, 40);
    EXPECT_EQ(rig.settings.m_dStartFreq, 500.0);
    EXPECT_EQ(c.m_nSleepWakeRate, 3000);
    // The defaults read the unvalidated rate; the wake word uses the validated one.
    EXPECT_EQ(rig.settings.m_nBeaconDuration, 22500);
    EXPECT_EQ(rig.U16(fo::kWakeWord), 137);
}

TEST_F(HiddenPanel, ClearedSleepFlagReachesOnlyTheFrame) {
    rig.host.controls.m_nSleepWakeRate = 0;
    rig.host.controls.m_bSleep = 1;
    rig.codec.EncodeFrame(rig.frame, rig.options);
    EXPECT_EQ(rig.frame[fo::kSleep], 0);
    EXPECT_EQ(rig.settings.m_bSleep, 1);
    EXPECT_EQ(rig.host.controls.m_bSleep, 1);
}

TEST_F(HiddenPanel, TypedTimingValuesHaveNoEffect) {
    auto& c = rig.host.controls;
    c.m_nBackoffTick = 5000;
    c.m_nAutoSleepTimeout = 99999;
    c.m_nCompensationUnit = 9;
    c.m_nSyncDuration = 1000;
    rig.codec.EncodeFrame(rig.frame, rig.options);
    EXPECT_EQ(rig.frame[fo::kBackoffMantissa], 22);
    EXPECT_EQ(rig.U16(fo::kAutoSleepTimeout), 18519);
    EXPECT_EQ(rig.frame[fo::kCompensationUnit], 200);
    EXPECT_EQ(rig.U16(fo::kSyncDuration), 25);
    EXPECT_EQ(c.m_nBackoffTick, 108);  // the defaults are shown
}

// Timing adjustments after the defaults change the record and the frame, not the controls.
TEST_F(HiddenPanel, TimingAdjustmentsStayOutOfTheControls) {
    rig.settings.m_dCcaThreshold = 0.0;
    rig.host.controls.m_dCcaThreshold = 0.0;
    rig.host.controls.m_iRfBaudDef = -1;  // no table entry: the threshold stays 0.0
    rig.codec.EncodeFrame(rig.frame, rig.options);
    EXPECT_EQ(rig.settings.m_dCcaThreshold, -10.0);
    EXPECT_EQ(rig.host.controls.m_dCcaThreshold, 0.0);
    EXPECT_EQ(rig.frame[fo::kCcaCode], 0x7F);
}

TEST_F(HiddenPanel, TwoWritesInARowWithMainChannel5) {
    rig.host.controls.m_nMainChannel = 5;
    rig.host.controls.m_iRfBaudDef = 6;
    rig.host.controls.m_iRfBaudMax = 1;
    rig.options.purpose = BuildPurpose::WriteOrSave;
    rig.codec.EncodeFrame(rig.frame, rig.options);
    EXPECT_EQ(rig.frame[fo::kMainChannel], 5);
    EXPECT_EQ(rig.frame[fo::kAuxChInterval], 1);
    EXPECT_EQ(rig.host.controls.m_nMainChannel, 0);

    rig.codec.EncodeFrame(rig.frame, rig.options);
    EXPECT_EQ(rig.frame[fo::kMainChannel], 0);
    EXPECT_EQ(rig.frame[fo::kAuxChInterval], 5);
    EXPECT_EQ(rig.frame[fo::kAuxStartChannel], 5);
    EXPECT_EQ(rig.frame[fo::kAuxChMask], 0x00);  // Write leaves the channel count alone
}

// Apply: build then decode. The build sets the channel count in the controls, and the decode
// shows the frame's own channel values again.
TEST_F(HiddenPanel, ApplyShowsTheFrameChannelsAgain) {
    rig.host.controls.m_nMainChannel = 5;
    rig.codec.EncodeFrame(rig.frame, rig.options);
    EXPECT_EQ(rig.host.controls.m_iAuxChNum, 2);
    rig.codec.DecodeFrame(rig.frame);
    EXPECT_EQ(rig.host.controls.m_nMainChannel, 5);
    EXPECT_EQ(rig.host.controls.m_iAuxChNum, 0);
    EXPECT_EQ(rig.host.controls.m_nAuxChInterval, 1);
}

}  // namespace
