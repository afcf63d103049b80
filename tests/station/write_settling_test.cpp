// What a read of the module tells after a write's acknowledgement went astray, on the session
// that sent the frame and on a port opened again.
#include <gtest/gtest.h>

#include "model/config_frame.h"
#include "station/module_port.h"
#include "station/write_settling.h"
#include "tools/module_sim/simulated_module.h"

namespace {

enum class Holds { Sent, Before, Other };

struct SettlingCase {
    const char* name;
    Holds holds;
    bool sameSession;
    WriteTook expected;
};

ConfigFrame WithMacByte(ConfigFrame frame, std::uint8_t byte) {
    frame[FrameOffset::kMac] = byte;
    SealFrame(frame);
    return frame;
}

class WriteSettlingTest : public ::testing::TestWithParam<SettlingCase> {};

TEST_P(WriteSettlingTest, OnlyTheSessionThatSentTheFrameMayFindTheOldBlock) {
    const SettlingCase& c = GetParam();
    SimulatedModule module;
    ASSERT_TRUE(module.Start());
    const ConfigFrame before = module.StoredFrame();
    const ConfigFrame sent = WithMacByte(before, 0xA1);
    module.SetStoredFrame(c.holds == Holds::Sent     ? sent
                          : c.holds == Holds::Before ? before
                                                     : WithMacByte(before, 0xB2));
    const PortOpener reopen = [&] { return OpenModulePort(module.PortPath()); };
    std::unique_ptr<SerialSession> session = c.sameSession ? reopen().session : nullptr;
    ASSERT_TRUE(!c.sameSession || session);

    const Settlement settled = SettleByReading(std::move(session), reopen, sent, before);
    EXPECT_EQ(settled.took, c.expected);
    EXPECT_EQ(settled.readBack, module.StoredFrame());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WriteSettlingTest,
    ::testing::Values(SettlingCase{"SentOnItsSession", Holds::Sent, true, WriteTook::Yes},
                      SettlingCase{"SentOnAPortOpenedAgain", Holds::Sent, false, WriteTook::Yes},
                      SettlingCase{"BeforeOnItsSession", Holds::Before, true, WriteTook::No},
                      // Another module with the same block may have been plugged in meanwhile.
                      SettlingCase{"BeforeOnAPortOpenedAgain", Holds::Before, false,
                                   WriteTook::Unknown},
                      SettlingCase{"SomethingElse", Holds::Other, true, WriteTook::Unknown}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
