#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>

#include <cstdlib>

#include "link/unique_fd.h"
#include "link_test_support.h"

namespace {

// The serial flags of a port as another open descriptor sees them; -1 when it has none.
int SerialFlags(const std::string& path) {
    const UniqueFd probe(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    serial_struct serial{};
    if (!probe.IsValid() || ::ioctl(probe.Get(), TIOCGSERIAL, &serial) != 0) {
        return -1;
    }
    return serial.flags;
}

// Needs a real serial port (a UART or a USB adapter) that nobody uses, named by
// LVCFG_TEST_SERIAL_PORT, e.g. /dev/ttyUSB0. Exclusive mode lets only a privileged probe look
// while the session is open.
TEST(LowLatencyTest, SessionRunsARealPortInLowLatencyAndRestoresItsFlags) {
    const char* port = std::getenv("LVCFG_TEST_SERIAL_PORT");
    if (port == nullptr || *port == '\0') {
        GTEST_SKIP() << "set LVCFG_TEST_SERIAL_PORT to a free serial port to run this";
    }
    const int before = SerialFlags(port);
    ASSERT_GE(before, 0) << port << " has no serial flags";
    SerialSession session;
    ASSERT_EQ(session.Open(port), OpenOutcome::Opened);
    const int during = SerialFlags(port);
    if (during >= 0) {
        EXPECT_NE(during & ASYNC_LOW_LATENCY, 0);
    }
    session.Close();
    EXPECT_EQ(SerialFlags(port), before);
}

TEST(LowLatencyTest, PseudoTerminalHasNoSerialFlagsAndOpensAllTheSame) {
    SimulatedModule module;
    ASSERT_TRUE(module.Start());
    ASSERT_EQ(SerialFlags(module.PortPath()), -1);
    SerialSession session;
    EXPECT_EQ(session.Open(module.PortPath()), OpenOutcome::Opened);
    session.Close();
    EXPECT_EQ(session.Open(module.PortPath()), OpenOutcome::Opened);
}

}  // namespace
