// The Read command and the read transaction against a simulated module on a pseudo-terminal:
// every outcome with its report, what lands in the frames and the window, and the port's
// life around the reports.

#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdio>
#include <cstring>
#include <string>

#include "tests/ui/module_test_rig.h"
#include "tools/module_sim/module_identity.h"

namespace {

using namespace module_rig;

// ---- Read outcomes --------------------------------------------------------------------------

struct ReadFailureRow {
    const char* name;
    Misbehaviour misbehaviour;
    const char* report;
};

class ReadFailure : public ModuleRig, public ::testing::WithParamInterface<ReadFailureRow> {};

TEST_P(ReadFailure, ReportsOnceChangesNoSettingAndFreesThePortAfterTheBox) {
    m_module.MisbehaveOnce(GetParam().misbehaviour);
    const WindowState before = Snapshot();
    const std::string macBefore = m_dlg.Settings().m_strMac;
    std::string statusDuringBox;
    bool heldDuringBox = false;
    m_backend.WhileNextBoxOpen([&](const MessageBoxRecord&) {
        statusDuringBox = Text(IDC_STATUS);
        heldDuringBox = !PortIsFree();
    });

    ASSERT_TRUE(m_window->Click(IDC_READ));

    ExpectFailureReport(GetParam().report);
    EXPECT_EQ(statusDuringBox, GetParam().report);
    EXPECT_TRUE(heldDuringBox);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(m_dlg.Settings().m_strMac, macBefore);
    if (!m_module.Vanished()) {
        EXPECT_TRUE(PortIsFree());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, ReadFailure,
    ::testing::Values(
        ReadFailureRow{"Silence", Misbehaviour::Silent, kNoResponse},
        ReadFailureRow{"Bytes517", Misbehaviour::ShortAnswer, kLengthMismatch},
        ReadFailureRow{"PauseMidAnswer", Misbehaviour::PauseMidAnswer, kLengthMismatch},
        ReadFailureRow{"WrongMagic", Misbehaviour::CorruptMagic, kMagicMismatch},
        ReadFailureRow{"WrongCrc", Misbehaviour::CorruptCrc, kCrcMismatch},
        ReadFailureRow{"CrcHighByteFirst", Misbehaviour::CrcHighByteFirst, kCrcMismatch},
        ReadFailureRow{"VanishMidAnswer", Misbehaviour::VanishMidAnswer, kPortReadFailed}),
    [](const auto& info) { return std::string(info.param.name); });

using ReadCommand = ModuleRig;

TEST_F(ReadCommand, ShowsTheModuleSettingsAndKeepsItsBytes) {
    ModuleIdentity identity;
    identity.role = ModuleRole::Root;
    identity.bandMHz = 470;
    identity.powerDbm = 20;
    identity.mac = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06};
    m_module.SetStoredFrame(MakeModuleFrame(identity));

    ASSERT_TRUE(m_window->Click(IDC_READ));

    ExpectStatusReportOnly(kReadSucceeded);
    EXPECT_EQ(m_dlg.m_workFrame, m_module.StoredFrame());
    EXPECT_EQ(Text(IDC_MAC), "01 02 03 04 05 06");
    EXPECT_EQ(Text(IDC_TYPE), "ROOT");
    EXPECT_EQ(Text(IDC_FREQ_BAND), "470MHz");
    EXPECT_TRUE(PortIsFree());
}

TEST_F(ReadCommand, ShortAnswerStaysInTheWorkingFrame) {
    m_module.MisbehaveOnce(Misbehaviour::ShortAnswer);
    ASSERT_TRUE(m_window->Click(IDC_READ));
    const ConfigFrame stored = m_module.StoredFrame();
    EXPECT_TRUE(std::equal(stored.begin(), stored.end() - 1, m_dlg.m_workFrame.begin()));
}

struct HeaderRow {
    const char* name;
    std::array<std::uint8_t, 4> header;
};

class ReadHeader : public ModuleRig, public ::testing::WithParamInterface<HeaderRow> {};

TEST_P(ReadHeader, FirstFourBytesOfTheAnswerAreNeverLookedAt) {
    ConfigFrame frame = MakeModuleFrame(ModuleIdentity{});
    std::copy(GetParam().header.begin(), GetParam().header.end(), frame.begin());
    m_module.SetStoredFrame(frame);
    ASSERT_TRUE(m_window->Click(IDC_READ));
    ExpectStatusReportOnly(kReadSucceeded);
}

INSTANTIATE_TEST_SUITE_P(Headers, ReadHeader,
                         ::testing::Values(HeaderRow{"ReadRequest", {'A', 'T', 'R', '0'}},
                                           HeaderRow{"Zeros", {0, 0, 0, 0}},
                                           HeaderRow{"AllOnes", {255, 255, 255, 255}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReadCommand, Bytes519ReadAs518AndTheRestIsPurgedAtTheNextOpen) {
    m_module.MisbehaveOnce(Misbehaviour::LongAnswer);
    ASSERT_TRUE(m_window->Click(IDC_READ));
    ExpectStatusReportOnly(kReadSucceeded);
    ASSERT_TRUE(m_window->Click(IDC_READ));
    ExpectStatusReportOnly(kReadSucceeded);
    EXPECT_EQ(m_dlg.m_workFrame, m_module.StoredFrame());
}

TEST_F(ReadCommand, TwoSessionsInARow) {
    ASSERT_TRUE(m_window->Click(IDC_READ));
    ASSERT_TRUE(m_window->Click(IDC_READ));
    ExpectStatusReportOnly(kReadSucceeded);
    EXPECT_EQ(m_module.ReadRequests(), 2);
}

TEST_F(ReadCommand, EmptyPortBoxGivesOnlyTheErrorBox) {
    m_window->SetText(IDC_STATUS, "earlier");
    ASSERT_TRUE(m_window->Type(IDC_COM_PORT, ""));
    ASSERT_TRUE(m_window->Click(IDC_READ));
    ASSERT_EQ(Boxes().size(), 1U);
    EXPECT_EQ(Boxes()[0].text, kChoosePort);
    EXPECT_EQ(Boxes()[0].caption, kCaption);
    EXPECT_EQ(Boxes()[0].type, MB_ICONERROR);
    EXPECT_EQ(Text(IDC_STATUS), "earlier");
    EXPECT_EQ(m_module.ReadRequests(), 0);
}

TEST_F(ReadCommand, WhileAutoConfigIsOnNothingInTheWindowChanges) {
    ModuleIdentity identity;
    identity.role = ModuleRole::Root;
    m_module.SetStoredFrame(MakeModuleFrame(identity));
    ASSERT_TRUE(m_window->Click(IDC_AUTO_CONFIG));
    ASSERT_EQ(m_dlg.m_bAutoConfig, 1);
    const WindowState before = Snapshot();
    const std::string typeBefore = m_dlg.Settings().m_strType;

    m_dlg.OnRead();  // the button is disabled in this mode; the command itself still runs

    ExpectStatusReportOnly(kReadSucceeded);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(m_dlg.Settings().m_strType, typeBefore);
}

TEST_F(ReadCommand, IntoTheModuleFrameNeverDecodes) {
    ModuleIdentity identity;
    identity.role = ModuleRole::Root;
    m_module.SetStoredFrame(MakeModuleFrame(identity));
    const WindowState before = Snapshot();
    const ConfigFrame workBefore = m_dlg.m_workFrame;

    EXPECT_EQ(m_dlg.ReadModule(m_dlg.m_moduleFrame), 1);

    ExpectStatusReportOnly(kReadSucceeded);
    EXPECT_EQ(m_dlg.m_moduleFrame, m_module.StoredFrame());
    EXPECT_EQ(m_dlg.m_workFrame, workBefore);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(m_dlg.Settings().m_strType, "UNKNOWN");
}

// ---- Ports that cannot be opened -------------------------------------------------------------

// A regular file in the temporary folder, removed at the end.
class ScratchFile {
  public:
    ScratchFile() {
        char name[] = "/tmp/lvcfg_port_XXXXXX";
        const int fd = ::mkstemp(name);
        if (fd >= 0) {
            static_cast<void>(::write(fd, "ATOK", 4));
            ::close(fd);
            m_path = name;
        }
    }
    ~ScratchFile() {
        if (!m_path.empty()) {
            std::remove(m_path.c_str());
        }
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    const std::string& Path() const { return m_path; }

  private:
    std::string m_path;
};

// A port that fails to open keeps the one report text; the box's details say which device was
// tried, the COMn it came from, and why.
class PortOpen : public ModuleRig {
  protected:
    void ExpectDetails(const std::string& device, const char* reason) const {
        ASSERT_EQ(Boxes().size(), 1U);
        const std::string& details = Boxes()[0].details;
        EXPECT_EQ(details.rfind(device, 0), 0U) << details;
        EXPECT_NE(details.find(reason), std::string::npos) << details;
    }
};

TEST_F(PortOpen, HeldBySomeoneElse) {
    SerialSession other;
    ASSERT_EQ(other.Open(m_module.PortPath()), OpenOutcome::Opened);
    ASSERT_TRUE(m_window->Click(IDC_READ));
    ExpectFailureReport(kPortOpenFailed);
    ExpectDetails(m_module.PortPath() + ": ", "in use by another program");
    EXPECT_EQ(m_module.ReadRequests(), 0);
}

TEST_F(PortOpen, RegularFileFailsAndTheRightNameThenWorks) {
    ScratchFile file;
    ASSERT_FALSE(file.Path().empty());
    ASSERT_TRUE(m_window->Type(IDC_COM_PORT, file.Path()));
    ASSERT_TRUE(m_window->Click(IDC_READ));
    ExpectFailureReport(kPortOpenFailed);
    ExpectDetails(file.Path(), "not a serial port");

    m_backend.ClearMessageBoxes();
    ASSERT_TRUE(m_window->Type(IDC_COM_PORT, m_module.PortPath()));
    ASSERT_TRUE(m_window->Click(IDC_READ));
    ExpectStatusReportOnly(kReadSucceeded);
}

TEST_F(PortOpen, MissingDevice) {
    ASSERT_TRUE(m_window->Type(IDC_COM_PORT, "/dev/lvcfg-no-such-port"));
    ASSERT_TRUE(m_window->Click(IDC_READ));
    ExpectFailureReport(kPortOpenFailed);
    ExpectDetails("/dev/lvcfg-no-such-port: ", "no such device");
}

TEST_F(PortOpen, ComNameIsNamedBesideItsDevice) {
    m_dlg.m_announcedPorts.Announce(42, "/dev/lvcfg-no-such-port");
    ASSERT_TRUE(m_window->Type(IDC_COM_PORT, "COM42"));
    ASSERT_TRUE(m_window->Click(IDC_WRITE));
    ExpectFailureReport(kPortOpenFailed);
    ExpectDetails("/dev/lvcfg-no-such-port (COM42): ", "no such device");
}

TEST_F(PortOpen, OpenComPortLeavesTheModeTextAndShowsNothing) {
    {
        const PortOpening opening = m_dlg.OpenComPort();
        ASSERT_TRUE(opening.Opened());
        EXPECT_FALSE(PortIsFree());
    }
    EXPECT_TRUE(PortIsFree());

    ASSERT_TRUE(m_window->Type(IDC_COM_PORT, "/dev/lvcfg-no-such-port"));
    EXPECT_FALSE(m_dlg.OpenComPort().Opened());
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(Text(IDC_STATUS), "");
}

struct ComNameRow {
    const char* name;
    int announced;
    const char* typed;
};

class AnnouncedPort : public ModuleRig, public ::testing::WithParamInterface<ComNameRow> {};

TEST_P(AnnouncedPort, ComNameInAnyCaseReachesTheAnnouncedDevice) {
    m_dlg.m_announcedPorts.Announce(GetParam().announced, m_module.PortPath());
    ASSERT_TRUE(m_window->Type(IDC_COM_PORT, GetParam().typed));
    ASSERT_TRUE(m_window->Click(IDC_READ));
    ExpectStatusReportOnly(kReadSucceeded);
}

INSTANTIATE_TEST_SUITE_P(Names, AnnouncedPort,
                         ::testing::Values(ComNameRow{"Upper", 7, "COM7"},
                                           ComNameRow{"Lower", 7, "com7"},
                                           ComNameRow{"Mixed", 42, "CoM42"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
