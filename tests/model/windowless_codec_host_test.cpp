#include "model/windowless_codec_host.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codec_rig.h"
#include "model/config_codec.h"

namespace {

struct WindowlessRig {
    ConfigSettings settings{0};
    WindowlessCodecHost host;
    ConfigCodec codec{settings, host};
    ConfigFrame frame{};
};

TEST(WindowlessCodecHost, CollectsTheWarningsOfABuildInOrderAndKeepsTheValues) {
    WindowlessRig rig;
    rig.settings.m_nNetworkId = 70000;
    rig.settings.m_nSleepWakeRate = 3000;
    rig.settings.m_dStartFreq = 500.0;
    rig.codec.EncodeFrame(rig.frame, FrameBuildOptions{});

    ASSERT_GE(rig.host.Warnings().size(), 3u);
    const std::vector<std::string> first(rig.host.Warnings().begin(),
                                         rig.host.Warnings().begin() + 3);
    EXPECT_EQ(first,
              (std::vector<std::string>{
                  "Sleep-wake rate is equal to 3000 which is beyond the scope [0 ~ 2500], it will "
                  "be automatically adjusted to 2500!",
                  "Network ID is equal to 70000 which is beyond the scope [0 ~ 65535], it will be "
                  "automatically adjusted to 65535!",
                  "Start Frequency is equal to 500.0000MHz which is beyond the scope [410.0000MHz "
                  "~ 480.0000MHz], it will be automatically adjusted to 480.0000MHz!"}));
    // Nothing re-reads a window: the adjusted values stay in the record.
    EXPECT_EQ(rig.settings.m_nNetworkId, 65535);
    EXPECT_EQ(rig.settings.m_dStartFreq, 480.0);
}

TEST(WindowlessCodecHost, RfPowerItemsFollowTheDecodedPowerClass) {
    WindowlessRig rig;
    EXPECT_EQ(rig.host.RfPowerItems().front(), "+10dBm");
    rig.codec.DecodeFrame(CodecRig::ModuleFrame('6', '2'));
    EXPECT_EQ(rig.host.RfPowerItems().front(), "+20dBm");
    EXPECT_EQ(rig.host.RfPowerItems().size(), 8u);
    rig.codec.DecodeFrame(CodecRig::ModuleFrame('6', '1'));
    EXPECT_EQ(rig.host.RfPowerItems().front(), "+10dBm");
}

}  // namespace
