// The Write command against a simulated module on a pseudo-terminal: the write transaction's
// outcomes, the identity shown and kept, the MAC address that advances only after "ATOK", and
// the module holding what was written.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "model/codec_tables.h"
#include "model/config_frame.h"
#include "tests/ui/module_test_rig.h"
#include "tools/module_sim/module_identity.h"

namespace {

using namespace module_rig;
using Mac = std::array<std::uint8_t, FrameOffset::kMacLength>;

Mac MacOf(const ConfigFrame& frame) {
    Mac mac{};
    std::copy_n(frame.begin() + FrameOffset::kMac, mac.size(), mac.begin());
    return mac;
}

bool SameIdentity(const ConfigFrame& a, const ConfigFrame& b) {
    return std::equal(a.begin() + FrameOffset::kName, a.begin() + FrameOffset::kIdentityEnd,
                      b.begin() + FrameOffset::kName);
}

// An identity that differs from the dialog's default frame in every shown field.
ModuleIdentity RootModule() {
    ModuleIdentity identity;
    identity.role = ModuleRole::Root;
    identity.powerDbm = 20;
    identity.bandMHz = 470;
    return identity;
}

using WriteCommand = ModuleRig;

// ---- Write transaction outcomes --------------------------------------------------------------

struct AckFailureRow {
    const char* name;
    Misbehaviour misbehaviour;
    const char* report;
};

class WriteAckFailure : public ModuleRig, public ::testing::WithParamInterface<AckFailureRow> {};

TEST_P(WriteAckFailure, ReportsKeepsTheMacAndLeavesTheFrameEncodedAndSealed) {
    m_module.SetStoredFrame(MakeModuleFrame(RootModule()));
    m_module.MisbehaveOnce(RequestKind::Write, GetParam().misbehaviour);
    const std::string macField = Text(IDC_MAC);
    bool heldDuringBox = false;
    m_backend.WhileNextBoxOpen([&](const MessageBoxRecord&) { heldDuringBox = !PortIsFree(); });

    ASSERT_TRUE(m_window->Click(IDC_WRITE));

    ExpectFailureReport(GetParam().report);
    EXPECT_TRUE(heldDuringBox);
    EXPECT_EQ(Text(IDC_MAC), macField);
    EXPECT_EQ(m_dlg.Settings().m_strMac, macField);
    EXPECT_TRUE(SameIdentity(m_dlg.m_workFrame, m_dlg.m_moduleFrame));
    EXPECT_EQ(CheckFrame(m_dlg.m_workFrame), FrameCheck::Accepted);
    EXPECT_TRUE(std::equal(kWriteCommand.begin(), kWriteCommand.end(), m_dlg.m_workFrame.begin()));
    ASSERT_TRUE(m_module.LastWrittenFrame().has_value());
    EXPECT_EQ(*m_module.LastWrittenFrame(), m_dlg.m_workFrame);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, WriteAckFailure,
    ::testing::Values(AckFailureRow{"Silence", Misbehaviour::Silent, kModuleWriteFailed},
                      AckFailureRow{"ATO", Misbehaviour::ShortAnswer, kModuleWriteFailed},
                      AckFailureRow{"PauseMidAck", Misbehaviour::PauseMidAnswer,
                                    kModuleWriteFailed},
                      AckFailureRow{"VanishMidAck", Misbehaviour::VanishMidAnswer, kNoResponse}),
    [](const auto& info) { return std::string(info.param.name); });

struct ReadFirstFailureRow {
    const char* name;
    Misbehaviour misbehaviour;
    const char* report;
};

class WriteReadFailure : public ModuleRig,
                         public ::testing::WithParamInterface<ReadFirstFailureRow> {};

TEST_P(WriteReadFailure, NothingIsWrittenAndNothingChanges) {
    m_module.MisbehaveOnce(RequestKind::Read, GetParam().misbehaviour);
    const WindowState before = Snapshot();
    const ConfigFrame workBefore = m_dlg.m_workFrame;

    ASSERT_TRUE(m_window->Click(IDC_WRITE));

    ExpectFailureReport(GetParam().report);
    EXPECT_EQ(m_module.WriteRequests(), 0);
    EXPECT_EQ(m_dlg.m_workFrame, workBefore);
    EXPECT_EQ(Snapshot(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, WriteReadFailure,
    ::testing::Values(ReadFirstFailureRow{"Silence", Misbehaviour::Silent, kNoResponse},
                      ReadFirstFailureRow{"Bytes517", Misbehaviour::ShortAnswer, kLengthMismatch},
                      ReadFirstFailureRow{"WrongMagic", Misbehaviour::CorruptMagic, kMagicMismatch},
                      ReadFirstFailureRow{"CrcHighByteFirst", Misbehaviour::CrcHighByteFirst,
                                          kCrcMismatch}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WriteCommand, AckWithExtraBytesSucceedsAndTheRestIsPurged) {
    m_module.MisbehaveOnce(RequestKind::Write, Misbehaviour::LongAnswer);
    ASSERT_TRUE(m_window->Click(IDC_WRITE));
    ExpectStatusReportOnly(kWriteSucceeded);
    ASSERT_TRUE(m_window->Click(IDC_READ));
    ExpectStatusReportOnly(kReadSucceeded);
}

TEST_F(WriteCommand, EmptyPortBoxGivesOnlyTheErrorBox) {
    m_window->SetText(IDC_STATUS, "earlier");
    const std::string macField = Text(IDC_MAC);
    ASSERT_TRUE(m_window->Type(IDC_COM_PORT, ""));
    ASSERT_TRUE(m_window->Click(IDC_WRITE));
    ASSERT_EQ(Boxes().size(), 1U);
    EXPECT_EQ(Boxes()[0].text, kChoosePort);
    EXPECT_EQ(Boxes()[0].type, MB_ICONERROR);
    EXPECT_EQ(Text(IDC_STATUS), "earlier");
    EXPECT_EQ(Text(IDC_MAC), macField);
    EXPECT_EQ(m_module.ReadRequests() + m_module.WriteRequests(), 0);
}

TEST_F(WriteCommand, HeldPortReportsOpenFailure) {
    const std::string macField = Text(IDC_MAC);
    SerialSession other;
    ASSERT_EQ(other.Open(m_module.PortPath()), OpenOutcome::Opened);
    ASSERT_TRUE(m_window->Click(IDC_WRITE));
    ExpectFailureReport(kPortOpenFailed);
    EXPECT_EQ(Text(IDC_MAC), macField);
}

// A module sending at 115200 bit/s: every read completes at its byte count, well inside the
// limits, and nothing waits on a quiet line.
TEST_F(WriteCommand, ModuleAnsweringAtLineRate) {
    SimulatedModuleOptions options;
    options.pacing = Pacing::LineRate;
    SimulatedModule paced(options);
    ASSERT_TRUE(paced.Start());
    ASSERT_TRUE(m_window->Type(IDC_COM_PORT, paced.PortPath()));

    ASSERT_TRUE(m_window->Click(IDC_READ));
    ExpectStatusReportOnly(kReadSucceeded);
    ASSERT_TRUE(m_window->Click(IDC_WRITE));
    ExpectStatusReportOnly(kWriteSucceeded);
    EXPECT_EQ(paced.WriteRequests(), 1);
}

TEST_F(WriteCommand, UnopenablePortEncodesNothingSoNoRangeWarning) {
    ASSERT_TRUE(m_window->Type(IDC_MAIN_CHANNEL, "300"));
    const ConfigFrame workBefore = m_dlg.m_workFrame;
    SerialSession other;
    ASSERT_EQ(other.Open(m_module.PortPath()), OpenOutcome::Opened);

    EXPECT_EQ(m_dlg.WriteModule(), 0);

    ExpectFailureReport(kPortOpenFailed);
    EXPECT_EQ(m_dlg.m_workFrame, workBefore);
}

TEST_F(WriteCommand, RangeWarningsShowWhileThePortIsHeld) {
    ASSERT_TRUE(m_window->Click(IDC_READ));  // the module's identity, so it takes the frame
    ASSERT_TRUE(m_window->Type(IDC_MAIN_CHANNEL, "300"));
    bool heldDuringWarning = false;
    m_backend.WhileNextBoxOpen([&](const MessageBoxRecord& box) {
        EXPECT_EQ(box.type, MB_ICONEXCLAMATION);
        heldDuringWarning = !PortIsFree();
    });

    EXPECT_EQ(m_dlg.WriteModule(), 1);

    EXPECT_TRUE(heldDuringWarning);
    ASSERT_TRUE(m_module.LastWrittenFrame().has_value());
    EXPECT_EQ((*m_module.LastWrittenFrame())[FrameOffset::kMainChannel], 255);
}

TEST_F(WriteCommand, PortFailingDuringTheBuildIsAWriteFailure) {
    ASSERT_TRUE(m_window->Type(IDC_MAIN_CHANNEL, "300"));
    m_backend.WhileNextBoxOpen([&](const MessageBoxRecord&) { m_module.Stop(); });

    EXPECT_EQ(m_dlg.WriteModule(), 0);

    EXPECT_EQ(Text(IDC_STATUS), kPortWriteFailed);
    ASSERT_EQ(Boxes().size(), 2U);
    EXPECT_EQ(Boxes()[1].text, kPortWriteFailed);
    EXPECT_EQ(Boxes()[1].type, MB_ICONERROR);
    EXPECT_TRUE(std::equal(kWriteCommand.begin(), kWriteCommand.end(), m_dlg.m_workFrame.begin()));
}

// A write built with a warning box on the way is acknowledged only by the bytes the module
// sends back.
class AcknowledgementAfterAWarning : public ModuleRig,
                                     public ::testing::WithParamInterface<Misbehaviour> {};

TEST_P(AcknowledgementAfterAWarning, NeedsTheModulesAnswer) {
    ASSERT_TRUE(m_window->Click(IDC_READ));
    ASSERT_TRUE(m_window->Type(IDC_MAIN_CHANNEL, "300"));
    m_module.MisbehaveOnce(RequestKind::Write, GetParam());

    EXPECT_EQ(m_dlg.WriteModule(), 0);

    EXPECT_EQ(m_module.WriteRequests(), 1);
    EXPECT_EQ(Text(IDC_STATUS), kModuleWriteFailed);
    EXPECT_EQ(Boxes().back().text, kModuleWriteFailed);
}

INSTANTIATE_TEST_SUITE_P(Acknowledgements, AcknowledgementAfterAWarning,
                         ::testing::Values(Misbehaviour::Silent, Misbehaviour::ShortAnswer),
                         [](const auto& info) {
                             return std::string(MisbehaviourName(info.param) == "silent" ? "Silence"
                                                                                         : "ATO");
                         });

// ---- MAC address -----------------------------------------------------------------------------

struct MacRow {
    const char* name;
    const char* typed;
    Mac sent;
    const char* shownAfter;
};

class MacAdvance : public ModuleRig, public ::testing::WithParamInterface<MacRow> {};

TEST_P(MacAdvance, ModuleGetsTheFieldAndTheFieldShowsTheNextAddress) {
    ASSERT_TRUE(m_window->Type(IDC_MAC, GetParam().typed));

    ASSERT_TRUE(m_window->Click(IDC_WRITE));

    ExpectStatusReportOnly(kWriteSucceeded);
    ASSERT_TRUE(m_module.LastWrittenFrame().has_value());
    EXPECT_EQ(MacOf(*m_module.LastWrittenFrame()), GetParam().sent);
    EXPECT_EQ(Text(IDC_MAC), GetParam().shownAfter);
    EXPECT_EQ(m_dlg.Settings().m_strMac, GetParam().typed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MacAdvance,
    ::testing::Values(
        MacRow{
            "CarryIntoFifthByte", "00 00 00 00 00 FF", {0, 0, 0, 0, 0, 0xFF}, "00 00 00 00 01 00"},
        MacRow{"CarryThroughThree",
               "12 34 56 FF FF FF",
               {0x12, 0x34, 0x56, 0xFF, 0xFF, 0xFF},
               "12 34 57 00 00 00"},
        MacRow{"AllOnesWraps",
               "FF FF FF FF FF FF",
               {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
               "00 00 00 00 00 00"},
        MacRow{"TwoBytesFilledWithZeros", "12 34", {0x12, 0x34, 0, 0, 0, 0}, "12 34 00 00 00 01"},
        MacRow{"LowerCaseOddSpacing",
               "  ab:cd  e  0f 1 fe",
               {0xAB, 0xCD, 0x0E, 0x0F, 0x01, 0xFE},
               "AB CD 0E 0F 01 FF"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WriteCommand, NextWriteSendsTheAdvancedAddress) {
    ASSERT_TRUE(m_window->Type(IDC_MAC, "00 00 00 00 00 FF"));
    ASSERT_TRUE(m_window->Click(IDC_WRITE));
    ASSERT_TRUE(m_window->Click(IDC_WRITE));
    ExpectStatusReportOnly(kWriteSucceeded);
    EXPECT_EQ(MacOf(*m_module.LastWrittenFrame()), (Mac{0, 0, 0, 0, 1, 0}));
    EXPECT_EQ(Text(IDC_MAC), "00 00 00 00 01 01");
}

// ---- Identity ----------------------------------------------------------------------------------

TEST_F(WriteCommand, ShowsTheModuleIdentityAndSendsItBack) {
    m_module.SetStoredFrame(MakeModuleFrame(RootModule()));
    const std::string bandBefore = Text(IDC_FREQ_BAND);

    ASSERT_TRUE(m_window->Click(IDC_WRITE));

    ExpectStatusReportOnly(kWriteSucceeded);
    EXPECT_EQ(Text(IDC_NAME), "Lumivaro KTR5520Q");
    EXPECT_EQ(Text(IDC_VERSION), "1.6");
    EXPECT_EQ(Text(IDC_TYPE), "ROOT");
    EXPECT_EQ(Text(IDC_POWER_MAX), "20dBm");
    EXPECT_EQ(Text(IDC_FREQ_BAND), bandBefore);
    EXPECT_TRUE(SameIdentity(*m_module.LastWrittenFrame(), MakeModuleFrame(RootModule())));
}

TEST_F(WriteCommand, OddIdentityIsShownWithinItsFields) {
    ConfigFrame frame = MakeModuleFrame(ModuleIdentity{});
    // A name that fills its whole field with no NUL, straight into the type byte.
    std::fill(frame.begin() + FrameOffset::kName + kBlockMagic.size(),
              frame.begin() + FrameOffset::kName + FrameOffset::kNameLength, 'x');
    frame[FrameOffset::kType] = 'Q';
    frame[FrameOffset::kPowerClass] = '5';
    frame[FrameOffset::kVersionMinor] = 255;
    frame[FrameOffset::kVersionMajor] = 200;
    SealFrame(frame);
    m_module.SetStoredFrame(frame);

    ASSERT_TRUE(m_window->Click(IDC_WRITE));

    EXPECT_EQ(Text(IDC_NAME), "Lumivaro" + std::string(16, 'x'));
    EXPECT_EQ(Text(IDC_VERSION), "200.255");
    EXPECT_EQ(Text(IDC_TYPE), "UNKNOWN");
    EXPECT_EQ(Text(IDC_POWER_MAX), "50dBm");
}

TEST_F(WriteCommand, SettingsAreEncodedForTheLastDecodedCrystal) {
    ModuleIdentity decoded;
    decoded.crystalMHz = 26;
    m_module.SetStoredFrame(MakeModuleFrame(decoded));
    ASSERT_TRUE(m_window->Click(IDC_READ));
    ASSERT_EQ(m_dlg.Settings().m_nCrystalMHz, 26);
    const ConfigFrame frame26 = m_module.StoredFrame();

    ModuleIdentity written = decoded;
    written.crystalMHz = 27;
    const ConfigFrame frame27 = MakeModuleFrame(written);
    m_module.SetStoredFrame(frame27);
    ASSERT_TRUE(m_window->Click(IDC_WRITE));

    ExpectStatusReportOnly(kWriteSucceeded);
    const ConfigFrame sent = *m_module.LastWrittenFrame();
    EXPECT_TRUE(SameIdentity(sent, frame27));
    EXPECT_EQ(sent[FrameOffset::kCrystal], '7');
    // Frequency word and UART mantissa as a 26 MHz crystal needs them.
    EXPECT_TRUE(std::equal(frame26.begin() + FrameOffset::kFreqWord,
                           frame26.begin() + FrameOffset::kFreqWord + 3,
                           sent.begin() + FrameOffset::kFreqWord));
    EXPECT_NE(frame26[FrameOffset::kFreqWord], frame27[FrameOffset::kFreqWord]);
    EXPECT_EQ(sent[FrameOffset::kUartBaudMantissa], frame26[FrameOffset::kUartBaudMantissa]);
    EXPECT_EQ(m_dlg.Settings().m_nCrystalMHz, 26);
}

// ---- The module afterwards -------------------------------------------------------------------

TEST_F(WriteCommand, ModuleHoldsTheWrittenBlockAndAReadShowsIt) {
    ASSERT_TRUE(m_window->Type(IDC_NETWORK_ID, "1234"));
    ASSERT_TRUE(m_window->Type(IDC_MAIN_CHANNEL, "77"));
    ASSERT_TRUE(m_window->Type(IDC_MAC, "01 02 03 04 05 06"));
    ASSERT_TRUE(m_window->Click(IDC_WRITE));
    ExpectStatusReportOnly(kWriteSucceeded);

    const ConfigFrame stored = m_module.StoredFrame();
    ASSERT_TRUE(m_module.LastWrittenFrame().has_value());
    EXPECT_TRUE(std::equal(stored.begin() + FrameOffset::kBlock, stored.end(),
                           m_module.LastWrittenFrame()->begin() + FrameOffset::kBlock));

    ASSERT_TRUE(m_window->Type(IDC_NETWORK_ID, "5"));
    ASSERT_TRUE(m_window->Type(IDC_MAIN_CHANNEL, "6"));
    ASSERT_TRUE(m_window->Click(IDC_READ));

    ExpectStatusReportOnly(kReadSucceeded);
    EXPECT_EQ(Text(IDC_NETWORK_ID), "1234");
    EXPECT_EQ(Text(IDC_MAIN_CHANNEL), "77");
    EXPECT_EQ(Text(IDC_MAC), "01 02 03 04 05 06");
}

}  // namespace
