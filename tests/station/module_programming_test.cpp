#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "link/announced_ports.h"
#include "model/mac_address.h"
#include "station/mac_source.h"
#include "station/windowless_program.h"
#include "tools/module_sim/simulated_module.h"

namespace {

constexpr MacAddress kJobMac{0x4C, 0x56, 0x00, 0x00, 0x10, 0x00};

struct ProgramRow {
    const char* name;
    std::optional<RequestKind> kind;  // the request that misbehaves, if any
    Misbehaviour misbehaviour;
    bool verify;
    ModuleOutcome outcome;
    bool acknowledged;
};

const ProgramRow kRows[] = {
    {"VerifiedWrite", std::nullopt, Misbehaviour::None, true, ModuleOutcome::Succeeded, true},
    {"UnverifiedWrite", std::nullopt, Misbehaviour::None, false, ModuleOutcome::Succeeded, true},
    {"StoredOtherFailsVerification", RequestKind::Write, Misbehaviour::StoreOther, true,
     ModuleOutcome::VerifyFailed, true},
    {"StoredOtherPassesUnverified", RequestKind::Write, Misbehaviour::StoreOther, false,
     ModuleOutcome::Succeeded, true},
    {"SilentModule", RequestKind::Read, Misbehaviour::Silent, true, ModuleOutcome::NoResponse,
     false},
    {"RefusedFrame", RequestKind::Read, Misbehaviour::CorruptCrc, true, ModuleOutcome::CrcMismatch,
     false},
    {"ShortAcknowledgement", RequestKind::Write, Misbehaviour::ShortAnswer, true,
     ModuleOutcome::NotAcknowledged, false},
    {"SilentAfterWrite", RequestKind::Write, Misbehaviour::Silent, true,
     ModuleOutcome::NotAcknowledged, false},
};

class ProgramWithoutWindow : public ::testing::TestWithParam<ProgramRow> {
  protected:
    void SetUp() override { ASSERT_TRUE(m_module.Start()); }

    ModuleJobResult Program(std::optional<MacAddress> mac, bool verify) {
        ModuleJob job;
        job.portText = m_module.PortPath();
        job.settings = SettingsFromFrame(m_module.StoredFrame());
        job.settings.m_nNetworkId = 0x1234;
        job.mac = mac;
        job.verify = verify;
        return ProgramModuleWindowless(job, m_announced);
    }

    SimulatedModule m_module;
    AnnouncedPorts m_announced;
};

TEST_P(ProgramWithoutWindow, EndsAsTheModuleAnswers) {
    const ProgramRow& row = GetParam();
    if (row.kind) {
        m_module.MisbehaveOnce(*row.kind, row.misbehaviour);
    }
    const ModuleJobResult result = Program(kJobMac, row.verify);
    EXPECT_EQ(result.outcome, row.outcome) << ModuleOutcomeReason(result.outcome);
    EXPECT_EQ(result.report.acknowledged, row.acknowledged);
    if (row.acknowledged) {
        // What went out keeps the module's identity and carries the job's MAC and settings.
        EXPECT_TRUE(std::equal(result.sent.begin() + FrameOffset::kName,
                               result.sent.begin() + FrameOffset::kIdentityEnd,
                               result.moduleFrame.begin() + FrameOffset::kName));
        EXPECT_EQ(MacOfFrame(result.sent), kJobMac);
        EXPECT_EQ(result.sent[FrameOffset::kNetworkIdLow], 0x34);
        EXPECT_EQ(SameBlock(*m_module.LastWrittenFrame(), result.sent), true);
    }
}

INSTANTIATE_TEST_SUITE_P(Outcomes, ProgramWithoutWindow, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProgramWithoutWindow, ModuleKeepsItsOwnMacWhenNoneIsGiven) {
    const MacAddress own = MacOfFrame(m_module.StoredFrame());
    const ModuleJobResult result = Program(std::nullopt, true);
    ASSERT_EQ(result.outcome, ModuleOutcome::Succeeded);
    EXPECT_EQ(MacOfFrame(m_module.StoredFrame()), own);
}

TEST_F(ProgramWithoutWindow, RangeWarningsComeBackAsTheirTexts) {
    ModuleJob job;
    job.portText = m_module.PortPath();
    job.settings.m_nMainChannel = 300;
    const ModuleJobResult result = ProgramModuleWindowless(job, m_announced);
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

TEST(MacSequence, GivenBackAddressesGoOutAgainLowestFirst) {
    MacSequence sequence(MacFromNumber(0xFFFF'FFFF'FFFE));
    const auto a = sequence.Take("p1");
    const auto b = sequence.Take("p2");
    const auto c = sequence.Take("p3");
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(MacToNumber(*c), 0u) << "the 48-bit address wraps";
    sequence.GiveBack(*b);
    sequence.GiveBack(*a);
    EXPECT_EQ(sequence.Take("p4"), a);
    EXPECT_EQ(sequence.Take("p5"), b);
    EXPECT_EQ(MacToNumber(*sequence.Take("p6")), 1u);
}

}  // namespace
