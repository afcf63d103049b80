// One command at a time. A message box of a running command keeps delivering port arrivals;
// the Write such an arrival would start must not run inside the open command, where the outer
// Write would finish with the inner module's identity in its frame and both modules would get
// the same MAC address. Arrivals then show at once but their Writes wait, in order, until the
// running command has ended; a port pulled out before its turn is dropped.

#include <gtest/gtest.h>

#include <string>

#include "tests/ui/arrival_test_rig.h"

namespace {

using namespace arrival_rig;

constexpr const char* kNetworkIdWarning =
    "Network ID is equal to 70000 which is beyond the scope [0 ~ 65535], it will be "
    "automatically adjusted to 65535!";

class CommandQueue : public ArrivalRig {
  protected:
    // Every frame build then shows a range warning before the frame is sent.
    void BuildWithAWarning() { ASSERT_TRUE(m_window->Type(IDC_NETWORK_ID, "70000")); }

    // While a box is open, module `serial` arrives as COM`com`: shown at once, not yet contacted.
    void ArriveWhileBoxOpen(int serial, int com) {
        m_backend.WhileNextBoxOpen([this, serial, com](const MessageBoxRecord&) {
            const std::size_t queuedBefore = m_dlg.QueuedArrivalWrites();
            Plug(serial, com);
            EXPECT_EQ(Text(IDC_STATUS), "Module is inserted into COM" + std::to_string(com));
            EXPECT_EQ(Text(IDC_COM_PORT), "COM" + std::to_string(com));
            EXPECT_EQ(Module(serial).ReadRequests(), 0) << "module " << serial;
            EXPECT_EQ(m_dlg.QueuedArrivalWrites(), queuedBefore + 1);
        });
    }

    const Mac m_first = MacFromText(kStartMac);
};

TEST_F(CommandQueue, ArrivalDuringAWarningBoxOfARunningWriteWaitsForIt) {
    StartModules(2);
    BuildWithAWarning();
    TickAutoConfig();
    ArriveWhileBoxOpen(1, 2);

    Plug(0, 1);

    ASSERT_EQ(Boxes().size(), 2U);
    EXPECT_EQ(Boxes()[0].text, kNetworkIdWarning);
    EXPECT_EQ(Boxes()[1].text, kNetworkIdWarning);
    ExpectProgrammed(0, m_first);
    ExpectProgrammed(1, MacPlus(m_first, 1));
    EXPECT_EQ(Module(0).WriteRequests(), 1);
    EXPECT_EQ(Module(1).WriteRequests(), 1);
    EXPECT_EQ(Text(IDC_MAC), MacText(MacPlus(m_first, 2)));
    EXPECT_EQ(Text(IDC_STATUS), kWriteSucceeded);
    EXPECT_EQ(Text(IDC_COM_PORT), "COM2");
    EXPECT_EQ(Text(IDC_NAME), ModuleNameText(OwnFrame(1)));
    EXPECT_TRUE(SameIdentity(m_dlg.m_workFrame, OwnFrame(1)));
    EXPECT_EQ(m_dlg.QueuedArrivalWrites(), 0U);
}

TEST_F(CommandQueue, ArrivalDuringTheErrorBoxOfAFailedWriteReusesItsMac) {
    StartModules(2);
    Module(0).MisbehaveOnce(RequestKind::Write, Misbehaviour::Silent);
    TickAutoConfig();
    ArriveWhileBoxOpen(1, 2);

    Plug(0, 1);

    ASSERT_EQ(Boxes().size(), 1U);
    EXPECT_EQ(Boxes()[0].text, kModuleWriteFailed);
    // The failed module saw a frame with its own identity, never acknowledged.
    const std::optional<ConfigFrame> unacknowledged = Module(0).LastWrittenFrame();
    ASSERT_TRUE(unacknowledged.has_value());
    EXPECT_TRUE(SameIdentity(*unacknowledged, OwnFrame(0)));
    ExpectProgrammed(1, m_first);
    EXPECT_EQ(Text(IDC_MAC), MacText(MacPlus(m_first, 1)));
    EXPECT_EQ(Text(IDC_STATUS), kWriteSucceeded);
}

TEST_F(CommandQueue, ArrivalDuringTheErrorBoxOfAFailedReadIsProgrammedAfterIt) {
    StartModules(2);
    Module(0).MisbehaveOnce(RequestKind::Read, Misbehaviour::CorruptCrc);
    TickAutoConfig();
    ArriveWhileBoxOpen(1, 4);

    Plug(0, 3);

    ASSERT_EQ(Boxes().size(), 1U);
    EXPECT_EQ(Boxes()[0].text, kCrcMismatch);
    EXPECT_EQ(Module(0).WriteRequests(), 0);
    ExpectProgrammed(1, m_first);
}

TEST_F(CommandQueue, SeveralArrivalsDuringOneBoxRunInTheirOrder) {
    StartModules(4);
    BuildWithAWarning();
    TickAutoConfig();
    m_backend.WhileNextBoxOpen([this](const MessageBoxRecord&) {
        Plug(3, 4);
        Plug(1, 2);
        Plug(2, 3);
        EXPECT_EQ(m_dlg.QueuedArrivalWrites(), 3U);
    });

    Plug(0, 1);

    ExpectProgrammed(0, m_first);
    ExpectProgrammed(3, MacPlus(m_first, 1));
    ExpectProgrammed(1, MacPlus(m_first, 2));
    ExpectProgrammed(2, MacPlus(m_first, 3));
    EXPECT_EQ(Boxes().size(), 4U);
}

TEST_F(CommandQueue, ArrivalDuringAQueuedWritesBoxJoinsTheEndOfTheQueue) {
    StartModules(3);
    BuildWithAWarning();
    TickAutoConfig();
    ArriveWhileBoxOpen(1, 2);
    ArriveWhileBoxOpen(2, 3);

    Plug(0, 1);

    ExpectProgrammed(0, m_first);
    ExpectProgrammed(1, MacPlus(m_first, 1));
    ExpectProgrammed(2, MacPlus(m_first, 2));
    EXPECT_EQ(Boxes().size(), 3U);
    EXPECT_EQ(m_dlg.QueuedArrivalWrites(), 0U);
}

TEST_F(CommandQueue, QueuedArrivalPulledOutBeforeItsTurnIsDropped) {
    StartModules(3);
    BuildWithAWarning();
    TickAutoConfig();
    m_backend.WhileNextBoxOpen([this](const MessageBoxRecord&) {
        Plug(1, 2);
        Plug(2, 3);
        Unplug(1, 2);
        EXPECT_EQ(Text(IDC_STATUS), "Module is extracted from COM2");
        EXPECT_EQ(m_dlg.QueuedArrivalWrites(), 1U);
    });

    Plug(0, 1);

    ExpectProgrammed(0, m_first);
    EXPECT_EQ(Module(1).ReadRequests(), 0);
    EXPECT_EQ(Module(1).WriteRequests(), 0);
    ExpectProgrammed(2, MacPlus(m_first, 1));
    EXPECT_EQ(Text(IDC_MAC), MacText(MacPlus(m_first, 2)));
}

TEST_F(CommandQueue, PulledOutAndPluggedInAgainBeforeItsTurnIsProgrammedOnce) {
    StartModules(2);
    BuildWithAWarning();
    TickAutoConfig();
    m_backend.WhileNextBoxOpen([this](const MessageBoxRecord&) {
        Plug(1, 2);
        Unplug(1, 2);
        Plug(1, 2);
    });

    Plug(0, 1);

    ExpectProgrammed(0, m_first);
    ExpectProgrammed(1, MacPlus(m_first, 1));
    EXPECT_EQ(Module(1).WriteRequests(), 1);
}

TEST_F(CommandQueue, ArrivalWhileTheAboutBoxIsOpenIsProgrammedWhenItCloses) {
    StartModules(1);
    TickAutoConfig();
    m_backend.Script([this](HeadlessWindow&) {
        Plug(0, 1);
        EXPECT_EQ(Module(0).ReadRequests(), 0);
    });

    m_window->ChooseSystemMenu(CLVCfgDlg::IDM_ABOUTBOX);

    ExpectProgrammed(0, m_first);
    EXPECT_EQ(Text(IDC_STATUS), kWriteSucceeded);
}

TEST_F(CommandQueue, ArrivalDuringTheAutoConfigClicksPromptWaitsForTheClick) {
    StartModules(1);
    ASSERT_TRUE(m_window->Type(IDC_NETWORK_ID, "abc"));
    m_backend.WhileNextBoxOpen([this](const MessageBoxRecord&) {
        Plug(0, 1);
        EXPECT_EQ(Module(0).ReadRequests(), 0);
        EXPECT_EQ(m_dlg.QueuedArrivalWrites(), 1U);
    });

    ASSERT_TRUE(m_window->Click(IDC_AUTO_CONFIG));

    EXPECT_FALSE(m_window->IsControlEnabled(IDC_WRITE));
    ExpectProgrammed(0, m_first);
}

TEST_F(CommandQueue, ArrivalWithAutoConfigOffDuringABoxQueuesNothing) {
    StartModules(2);
    ASSERT_TRUE(m_window->Type(IDC_COM_PORT, Module(0).PortPath()));
    BuildWithAWarning();
    m_backend.WhileNextBoxOpen([this](const MessageBoxRecord&) {
        Plug(1, 2);
        EXPECT_EQ(m_dlg.QueuedArrivalWrites(), 0U);
    });

    ASSERT_TRUE(m_window->Click(IDC_WRITE));

    EXPECT_EQ(Text(IDC_STATUS), kWriteSucceeded);
    ExpectProgrammed(0, m_first);
    EXPECT_EQ(Module(1).ReadRequests(), 0);
    EXPECT_EQ(Text(IDC_COM_PORT), "COM2");
}

}  // namespace
