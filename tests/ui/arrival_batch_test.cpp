// Batch programming: with Auto Config ticked, modules plugged in one after another are each
// programmed with the window's settings, keep their own identity, and receive consecutive MAC
// addresses; a failure keeps its address for the next module.

#include <gtest/gtest.h>

#include <string>

#include "tests/ui/arrival_test_rig.h"

namespace {

using namespace arrival_rig;

using BatchProgramming = ArrivalRig;

// The port a module is plugged into: a few USB sockets used in turn.
int SocketOf(int serial) {
    return 1 + serial % 3;
}

TEST_F(BatchProgramming, TwentyModulesInARowKeepTheirIdentityWithConsecutiveMacs) {
    constexpr int kModules = 20;
    StartModules(kModules);
    ASSERT_TRUE(m_window->Type(IDC_NETWORK_ID, "4660"));
    TickAutoConfig();
    const Mac first = MacFromText(kStartMac);

    for (int serial = 0; serial < kModules; ++serial) {
        Plug(serial, SocketOf(serial));
        EXPECT_EQ(Text(IDC_STATUS), kWriteSucceeded) << "module " << serial;
        EXPECT_EQ(Text(IDC_NAME), ModuleNameText(OwnFrame(serial))) << "module " << serial;
        Unplug(serial, SocketOf(serial));
        EXPECT_EQ(Text(IDC_STATUS),
                  "Module is extracted from COM" + std::to_string(SocketOf(serial)));
    }

    EXPECT_TRUE(Boxes().empty());
    for (int serial = 0; serial < kModules; ++serial) {
        ExpectProgrammed(serial, MacPlus(first, static_cast<unsigned>(serial)));
        EXPECT_EQ(Module(serial).WriteRequests(), 1);
        const ConfigFrame stored = Module(serial).StoredFrame();
        EXPECT_EQ(stored[FrameOffset::kNetworkIdLow], 0x34) << "module " << serial;
    }
    EXPECT_EQ(Text(IDC_MAC), MacText(MacPlus(first, kModules)));
}

struct FailureRow {
    const char* name;
    RequestKind kind;
    Misbehaviour misbehaviour;
    const char* report;
    int writeRequests;  // of the failing module
};

class FailureMidBatch : public ArrivalRig, public ::testing::WithParamInterface<FailureRow> {};

TEST_P(FailureMidBatch, BoxStaysOpenUntilDismissedAndTheNextModuleGetsItsMac) {
    StartModules(5);
    Module(2).MisbehaveOnce(GetParam().kind, GetParam().misbehaviour);
    TickAutoConfig();
    const Mac first = MacFromText(kStartMac);
    bool boxWasOpen = false;
    m_backend.WhileNextBoxOpen([&](const MessageBoxRecord&) {
        boxWasOpen = true;
        // While the box is open, the failure shows and the address has not moved.
        EXPECT_EQ(Text(IDC_STATUS), GetParam().report);
        EXPECT_EQ(Text(IDC_MAC), MacText(MacPlus(first, 2)));
    });

    for (int serial = 0; serial < 5; ++serial) {
        Plug(serial, 1);
        Unplug(serial, 1);
    }

    EXPECT_TRUE(boxWasOpen);
    ASSERT_EQ(Boxes().size(), 1U);
    EXPECT_EQ(Boxes()[0].text, GetParam().report);
    EXPECT_EQ(Boxes()[0].type, MB_ICONERROR);
    EXPECT_EQ(Module(2).WriteRequests(), GetParam().writeRequests);
    ExpectProgrammed(0, first);
    ExpectProgrammed(1, MacPlus(first, 1));
    ExpectProgrammed(3, MacPlus(first, 2));
    ExpectProgrammed(4, MacPlus(first, 3));
    EXPECT_EQ(Text(IDC_MAC), MacText(MacPlus(first, 4)));
}

INSTANTIATE_TEST_SUITE_P(Failures, FailureMidBatch,
                         ::testing::Values(FailureRow{"NoAcknowledgement", RequestKind::Write,
                                                      Misbehaviour::Silent, kModuleWriteFailed, 1},
                                           FailureRow{"ShortAcknowledgement", RequestKind::Write,
                                                      Misbehaviour::ShortAnswer, kModuleWriteFailed,
                                                      1},
                                           FailureRow{"SilentOnRead", RequestKind::Read,
                                                      Misbehaviour::Silent, kNoResponse, 0},
                                           FailureRow{"CorruptFrame", RequestKind::Read,
                                                      Misbehaviour::CorruptCrc, kCrcMismatch, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(BatchProgramming, FailedModulePluggedInAgainGetsTheSameAddress) {
    StartModules(2);
    Module(0).MisbehaveOnce(RequestKind::Write, Misbehaviour::Silent);
    TickAutoConfig();

    Plug(0, 1);
    Unplug(0, 1);
    Plug(0, 1);
    Unplug(0, 1);
    Plug(1, 1);

    EXPECT_EQ(Boxes().size(), 1U);
    ExpectProgrammed(0, MacFromText(kStartMac));
    ExpectProgrammed(1, MacPlus(MacFromText(kStartMac), 1));
}

}  // namespace
