// The window told of serial ports coming and going: the registration at start, and what one
// arrival or removal does with Auto Config off and on. Events of no interest change nothing.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/ui/arrival_test_rig.h"

namespace {

using namespace arrival_rig;

using ArrivalWatching = ArrivalRig;

TEST_F(ArrivalWatching, RegistrationWatchesTheSourceQuietly) {
    EXPECT_EQ(m_window->WatchedFd(), m_injector->Descriptor());
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(Text(IDC_STATUS), "");
    EXPECT_TRUE(m_window->IsControlEnabled(IDC_AUTO_CONFIG));
}

TEST_F(ArrivalWatching, RemovalOnlyReportsOnTheStatusLine) {
    StartModules(1);
    ASSERT_TRUE(m_window->Type(IDC_COM_PORT, "COM2"));
    TickAutoConfig();

    Unplug(0, 5);

    EXPECT_EQ(Text(IDC_STATUS), "Module is extracted from COM5");
    EXPECT_EQ(Text(IDC_COM_PORT), "COM2");
    EXPECT_EQ(m_window->GetCheck(IDC_AUTO_CONFIG), BST_CHECKED);
    EXPECT_EQ(m_dlg.m_bAutoConfig, 1);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(Module(0).ReadRequests(), 0);
}

TEST_F(ArrivalWatching, RemovalForgetsTheAnnouncedDevice) {
    StartModules(1);
    Plug(0, 3);
    ASSERT_EQ(m_dlg.m_announcedPorts.Lookup(3), Module(0).PortPath());
    Unplug(0, 3);
    EXPECT_EQ(m_dlg.m_announcedPorts.Lookup(3), std::nullopt);
}

TEST_F(ArrivalWatching, ArrivalWithAutoConfigOffShowsThePortAndSendsNothing) {
    StartModules(1);
    const std::string mac = Text(IDC_MAC);

    Plug(0, 3);

    EXPECT_EQ(Text(IDC_STATUS), "Module is inserted into COM3");
    EXPECT_EQ(Text(IDC_COM_PORT), "COM3");
    EXPECT_EQ(m_dlg.m_announcedPorts.Lookup(3), Module(0).PortPath());
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(Module(0).ReadRequests(), 0);
    EXPECT_EQ(Module(0).WriteRequests(), 0);
    EXPECT_EQ(Text(IDC_MAC), mac);
}

TEST_F(ArrivalWatching, ArrivalWithAutoConfigOffThenWriteClickOpensTheAnnouncedDevice) {
    StartModules(1);
    Plug(0, 12);
    ASSERT_TRUE(m_window->Click(IDC_WRITE));
    EXPECT_EQ(Text(IDC_STATUS), kWriteSucceeded);
    ExpectProgrammed(0, MacFromText(kStartMac));
}

TEST_F(ArrivalWatching, ArrivalWithAutoConfigOnProgramsTheModuleAtOnce) {
    StartModules(1);
    TickAutoConfig();

    Plug(0, 3);

    EXPECT_EQ(Text(IDC_COM_PORT), "COM3");
    EXPECT_EQ(Text(IDC_STATUS), kWriteSucceeded);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(Module(0).ReadRequests(), 1);
    EXPECT_EQ(Module(0).WriteRequests(), 1);
    ExpectProgrammed(0, MacFromText(kStartMac));
    EXPECT_EQ(Text(IDC_MAC), MacText(MacPlus(MacFromText(kStartMac), 1)));
    EXPECT_EQ(Text(IDC_NAME), "Lumivaro KTR5520Q-00");
    EXPECT_EQ(Text(IDC_TYPE), "NODE");
    EXPECT_EQ(m_dlg.QueuedArrivalWrites(), 0U);
}

TEST_F(ArrivalWatching, ArrivalOfAModuleThatDoesNotAnswerIsReportedAndKeepsTheMac) {
    StartModules(1);
    Module(0).MisbehaveOnce(RequestKind::Read, Misbehaviour::Silent);
    TickAutoConfig();

    Plug(0, 1);

    EXPECT_EQ(Text(IDC_STATUS), kNoResponse);
    ASSERT_EQ(Boxes().size(), 1U);
    EXPECT_EQ(Boxes()[0].text, kNoResponse);
    EXPECT_EQ(Boxes()[0].type, MB_ICONERROR);
    EXPECT_EQ(Module(0).WriteRequests(), 0);
    EXPECT_EQ(Text(IDC_MAC), kStartMac);
}

// ---- Reports of no interest ------------------------------------------------------------------

struct IgnoredRow {
    const char* name;
    TtyDeviceReport report;
};

class IgnoredReport : public ArrivalRig, public ::testing::WithParamInterface<IgnoredRow> {};

TEST_P(IgnoredReport, ChangesNothing) {
    StartModules(1);
    TickAutoConfig();
    std::vector<std::string> before;
    for (const int id : m_window->ControlIds()) {
        before.push_back(Text(id));
    }
    TtyDeviceReport report = GetParam().report;
    if (report.devicePath == "module") {
        report.devicePath = Module(0).PortPath();
    }

    Report(report);

    std::vector<std::string> after;
    for (const int id : m_window->ControlIds()) {
        after.push_back(Text(id));
    }
    EXPECT_EQ(after, before);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(Module(0).ReadRequests(), 0);
    EXPECT_EQ(m_dlg.m_announcedPorts.Lookup(1), std::nullopt);
    EXPECT_EQ(m_injector->Pending(), 0U);
}

const std::string kUsbTty = "/devices/pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0/ttyUSB0/tty/ttyUSB0";

INSTANTIATE_TEST_SUITE_P(
    Reports, IgnoredReport,
    ::testing::Values(
        IgnoredRow{"Change", {"change", "ttyUSB0", "module", kUsbTty}},
        IgnoredRow{"Bind", {"bind", "ttyUSB0", "module", kUsbTty}},
        IgnoredRow{"Move", {"move", "ttyUSB0", "module", kUsbTty}},
        IgnoredRow{"PseudoTerminal", {"add", "pts3", "module", "/devices/virtual/tty/pts3"}},
        IgnoredRow{"VirtualConsole", {"add", "tty1", "/dev/tty1", "/devices/virtual/tty/tty1"}},
        IgnoredRow{"SerialPlaceholder",
                   {"add", "ttyS3", "/dev/ttyS3", "/devices/platform/serial8250/tty/ttyS3"}},
        IgnoredRow{"NoPortNumber",
                   {"add", "ttyGS", "module", "/devices/platform/gadget/tty/ttyGS"}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Registration refused --------------------------------------------------------------------

// A source whose descriptor could not be made.
class BrokenSource : public DeviceEventSource {
  public:
    [[nodiscard]] int Descriptor() const override { return -1; }
    [[nodiscard]] std::optional<TtyDeviceReport> Receive() override { return std::nullopt; }
};

struct RefusalRow {
    const char* name;
    bool brokenSource;  // false: the platform gives no source at all
};

class RefusedRegistration : public ::testing::TestWithParam<RefusalRow> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_dlg.Create());
        m_window = m_backend.TopWindow();
        ASSERT_NE(m_window, nullptr);
    }

    LVCfgDlgServices Services() {
        LVCfgDlgServices services;
        services.now = 0x4E5F1A2B;
        const bool broken = GetParam().brokenSource;
        services.deviceEvents = [broken]() -> std::unique_ptr<DeviceEventSource> {
            if (broken) {
                return std::make_unique<BrokenSource>();
            }
            return nullptr;
        };
        return services;
    }

    HeadlessBackend m_backend;
    CLVCfgDlg m_dlg{m_backend, Services()};
    HeadlessWindow* m_window = nullptr;
};

TEST_P(RefusedRegistration, ShowsTheErrorBoxOnlyAndDisablesAutoConfigForGood) {
    ASSERT_EQ(m_backend.MessageBoxes().size(), 1U);
    EXPECT_EQ(m_backend.MessageBoxes()[0].text, kRegistrationFailed);
    EXPECT_EQ(m_backend.MessageBoxes()[0].caption, kCaption);
    EXPECT_EQ(m_backend.MessageBoxes()[0].type, MB_ICONERROR);
    const std::string& detail = m_backend.MessageBoxes()[0].details;
    EXPECT_NE(detail.find("udev is not running"), std::string::npos) << detail;
    EXPECT_NE(detail.find("Read and Write still work"), std::string::npos) << detail;
    EXPECT_EQ(m_window->GetText(IDC_STATUS), "");
    EXPECT_EQ(m_window->WatchedFd(), -1);
    EXPECT_FALSE(m_window->IsControlEnabled(IDC_AUTO_CONFIG));

    EXPECT_FALSE(m_window->Click(IDC_AUTO_CONFIG));
    EXPECT_EQ(m_dlg.m_bAutoConfig, 0);
    m_dlg.EnableEditing(false);
    m_dlg.EnableEditing(true);
    EXPECT_FALSE(m_window->IsControlEnabled(IDC_AUTO_CONFIG));
    EXPECT_FALSE(m_window->FireReadable());
}

TEST_P(RefusedRegistration, EveryOtherCommandStillWorks) {
    SimulatedModule module;
    ASSERT_TRUE(module.Start());
    ASSERT_TRUE(m_window->Type(IDC_COM_PORT, module.PortPath()));
    ASSERT_TRUE(m_window->Click(IDC_READ));
    EXPECT_EQ(m_window->GetText(IDC_STATUS), "Succeed to read the module!");
    ASSERT_TRUE(m_window->Click(IDC_WRITE));
    EXPECT_EQ(m_window->GetText(IDC_STATUS), kWriteSucceeded);
    ASSERT_TRUE(m_window->Click(IDC_ADVANCED));
    EXPECT_EQ(m_window->GetText(IDC_ADVANCED), "Advanced<<");
    EXPECT_EQ(m_backend.MessageBoxes().size(), 1U);
}

INSTANTIATE_TEST_SUITE_P(Platforms, RefusedRegistration,
                         ::testing::Values(RefusalRow{"NoSource", false},
                                           RefusalRow{"SourceWithoutDescriptor", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WindowWithoutPortReports, RegistersNothingAndShowsNoBox) {
    HeadlessBackend backend;
    CLVCfgDlg dlg{backend, LVCfgDlgServices{}};
    ASSERT_TRUE(dlg.Create());
    EXPECT_TRUE(backend.MessageBoxes().empty());
    EXPECT_EQ(backend.TopWindow()->WatchedFd(), -1);
    EXPECT_TRUE(backend.TopWindow()->IsControlEnabled(IDC_AUTO_CONFIG));
}

}  // namespace
