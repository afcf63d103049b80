#include "link/read_limits.h"
#include "link_test_support.h"

namespace {

using std::chrono::milliseconds;

// Scheduling on a busy machine can add a little to any wait; bounds only prove a limit exists.
constexpr milliseconds kSlack{150};

TEST(ReadLimitsTest, TotalLimitIsFiftyPlusOneMillisecondPerByte) {
    EXPECT_EQ(ReadLimits::TotalLimit(kFrameSize), milliseconds(568));
    EXPECT_EQ(ReadLimits::TotalLimit(4), milliseconds(54));
    EXPECT_EQ(ReadLimits::kQuietLimit, milliseconds(20));
}

using SerialReadTest = ModuleOnPty;

TEST_F(SerialReadTest, CompletesAsSoonAsAllBytesArrived) {
    const Exchange exchange = ReadModuleFrame();
    EXPECT_TRUE(exchange.read);
    EXPECT_EQ(exchange.answer.size(), kFrameSize);
    EXPECT_LT(exchange.took, ReadLimits::TotalLimit(kFrameSize) / 2);
}

TEST_F(SerialReadTest, QuietLimitCutsAnAnswerThatPauses) {
    m_module.MisbehaveOnce(Misbehaviour::PauseMidAnswer);
    const Exchange exchange = ReadModuleFrame();
    EXPECT_TRUE(exchange.read);
    EXPECT_EQ(exchange.answer.size(), kFrameSize / 2);
    EXPECT_GE(exchange.took, ReadLimits::kQuietLimit);
    EXPECT_LT(exchange.took, milliseconds(200));  // before the rest came
}

TEST_F(SerialReadTest, ShortAnswerEndsAtTheQuietLimitNotTheTotalLimit) {
    m_module.MisbehaveOnce(Misbehaviour::ShortAnswer);
    const Exchange exchange = ReadModuleFrame();
    EXPECT_TRUE(exchange.read);
    EXPECT_EQ(exchange.answer.size(), kFrameSize - 1);
    EXPECT_LT(exchange.took, ReadLimits::TotalLimit(kFrameSize) / 2);
}

TEST_F(SerialReadTest, VanishingModuleFailsTheReadInsteadOfCuttingIt) {
    m_module.MisbehaveOnce(Misbehaviour::VanishMidAnswer);
    const Exchange exchange = ReadModuleFrame();
    EXPECT_TRUE(exchange.wrote);
    EXPECT_FALSE(exchange.read);
    EXPECT_LT(exchange.answer.size(), kFrameSize);
    EXPECT_LT(exchange.took, ReadLimits::TotalLimit(kFrameSize));
    EXPECT_TRUE(m_module.Vanished());
    EXPECT_FALSE(m_session.Write(kReadRequestBytes));
}

TEST_F(SerialReadTest, AckPausedAfterTwoBytesGivesTwoBytes) {
    m_module.MisbehaveOnce(Misbehaviour::PauseMidAnswer);
    const Exchange exchange = WriteModuleFrame(m_module.StoredFrame());
    EXPECT_TRUE(exchange.read);
    EXPECT_EQ(exchange.answer, Bytes("AT"));
}

// A silent module: the read ends at 50 + n ms with no byte and succeeds.
class SilentReadTest : public ModuleOnPty, public ::testing::WithParamInterface<std::size_t> {};

TEST_P(SilentReadTest, EndsAtTheTotalLimitWithNothing) {
    m_module.MisbehaveAlways(Misbehaviour::Silent);
    const Exchange exchange = Transact(m_session, kReadRequestBytes, GetParam());
    EXPECT_TRUE(exchange.read);
    EXPECT_TRUE(exchange.answer.empty());
    EXPECT_GE(exchange.took, ReadLimits::TotalLimit(GetParam()));
    EXPECT_LT(exchange.took, ReadLimits::TotalLimit(GetParam()) + kSlack);
}

INSTANTIATE_TEST_SUITE_P(RequestSizes, SilentReadTest, ::testing::Values(4U, 100U),
                         [](const auto& info) { return "Bytes" + std::to_string(info.param); });

TEST(PacedReadTest, WholeFrameAtLineRateArrivesInOneRead) {
    SimulatedModuleOptions options;
    options.pacing = Pacing::LineRate;
    SimulatedModule module(options);
    ASSERT_TRUE(module.Start());
    SerialSession session;
    ASSERT_EQ(session.Open(module.PortPath()), OpenOutcome::Opened);
    const Exchange exchange = Transact(session, kReadRequestBytes, kFrameSize);
    EXPECT_TRUE(exchange.read);
    EXPECT_EQ(exchange.answer.size(), kFrameSize);
    // 518 bytes at 86.8 us each take 45 ms on the wire.
    EXPECT_GE(exchange.took, milliseconds(40));
    EXPECT_LT(exchange.took, ReadLimits::TotalLimit(kFrameSize));
}

}  // namespace
