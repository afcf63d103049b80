// Programming one module without a window, apart from any run: the build's range warnings and
// why a port did not open.
#include <gtest/gtest.h>

#include <string>

#include "station/module_attempt.h"
#include "tools/module_sim/simulated_module.h"

namespace {

TEST(ProgramAttempt, RangeWarningsComeBackAsTheirTexts) {
    SimulatedModule module;
    ASSERT_TRUE(module.Start());
    AttemptSetup setup;
    setup.settings.m_nMainChannel = 300;
    const AttemptResult result =
        ProgramAttempt(module.PortPath(), setup, [](const ConfigFrame& frame) {
            MacDecision decision;
            decision.kind = MacDecision::Kind::Write;
            decision.take.grant = MacGrant{MacOfFrame(frame), 0};
            return decision;
        });
    ASSERT_EQ(result.outcome, ModuleOutcome::Succeeded);
    ASSERT_FALSE(result.warnings.empty());
    EXPECT_NE(result.warnings.front().find("Main channel"), std::string::npos);
    EXPECT_EQ(result.sent[FrameOffset::kMainChannel], 255);
}

TEST(ProgramPort, MissingPortSaysWhichDeviceAndWhy) {
    AnnouncedPorts announced;
    announced.Announce(7, "/dev/lvcfg-no-such-port");
    const ModuleReadResult result = ReadModuleWindowless("COM7", announced);
    EXPECT_EQ(result.outcome, ModuleOutcome::OpenFailed);
    EXPECT_EQ(result.port.outcome, OpenOutcome::Missing);
    EXPECT_EQ(result.port.detail.rfind("/dev/lvcfg-no-such-port (COM7): no such device", 0), 0u)
        << result.port.detail;
}

}  // namespace
