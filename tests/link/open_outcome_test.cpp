#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <thread>

#include "link/unique_fd.h"
#include "link_test_support.h"

namespace {

// What a row needs to put in place; whatever it holds lives until the row ends.
class OpenOutcomeTest;
using Preparation = std::function<std::string(OpenOutcomeTest&)>;

struct OpenRow {
    const char* name;
    Preparation prepare;  // returns the path to open
    OpenOutcome outcome;
    int error;  // the expected LastOpenError; -1: any error number but 0
};

void PrintTo(const OpenRow& row, std::ostream* out) {
    *out << row.name;
}

class OpenOutcomeTest : public ::testing::TestWithParam<OpenRow> {
  public:
    std::string ModulePort() {
        EXPECT_TRUE(m_module.Start());
        return m_module.PortPath();
    }
    std::string HeldModulePort() {
        const std::string path = ModulePort();
        EXPECT_EQ(m_holder.Open(path), OpenOutcome::Opened);
        return path;
    }
    // What picocom or pyserial (exclusive=True) do to hold a port.
    std::string LockedModulePort() {
        const std::string path = ModulePort();
        m_otherProgram = UniqueFd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK));
        EXPECT_EQ(::flock(m_otherProgram.Get(), LOCK_EX | LOCK_NB), 0);
        return path;
    }
    std::string File(::mode_t mode) {
        const std::string path = m_dir + "/file";
        std::ofstream(path) << "not a serial port";
        ::chmod(path.c_str(), mode);
        return path;
    }
    std::string Directory() const { return m_dir; }

  protected:
    void SetUp() override {
        std::string pattern = ::testing::TempDir() + "lvcfg_open_XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::string m_dir;
    SimulatedModule m_module;
    SerialSession m_holder;
    UniqueFd m_otherProgram;
};

TEST_P(OpenOutcomeTest, SaysWhyAndKeepsTheSystemError) {
    const OpenRow& row = GetParam();
    if (row.outcome == OpenOutcome::PermissionDenied && ::geteuid() == 0) {
        GTEST_SKIP() << "running as root: file permissions do not stop an open";
    }
    const std::string path = row.prepare(*this);
    SerialSession session;
    EXPECT_EQ(OpenOutcomeName(session.Open(path)), std::string(OpenOutcomeName(row.outcome)));
    EXPECT_EQ(session.IsOpen(), row.outcome == OpenOutcome::Opened);
    if (row.error < 0) {
        EXPECT_NE(session.LastOpenError(), 0);
    } else {
        EXPECT_EQ(session.LastOpenError(), row.error) << std::strerror(session.LastOpenError());
    }
}

TEST_P(OpenOutcomeTest, ProbeForeseesTheOutcomeAndLeavesThePortFree) {
    const OpenRow& row = GetParam();
    if (row.outcome == OpenOutcome::PermissionDenied && ::geteuid() == 0) {
        GTEST_SKIP() << "running as root: file permissions do not stop an open";
    }
    const std::string path = row.prepare(*this);
    int error = -1;
    EXPECT_EQ(OpenOutcomeName(ProbePort(path, error)), std::string(OpenOutcomeName(row.outcome)));
    EXPECT_EQ(error != 0, row.error != 0);
    SerialSession session;
    EXPECT_EQ(OpenOutcomeName(session.Open(path)), std::string(OpenOutcomeName(row.outcome)));
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, OpenOutcomeTest,
    ::testing::Values(
        OpenRow{"FreePseudoTerminal", [](auto& t) { return t.ModulePort(); }, OpenOutcome::Opened,
                0},
        OpenRow{"MissingPath", [](auto&) { return std::string("/dev/lvcfg-no-such-port"); },
                OpenOutcome::Missing, ENOENT},
        OpenRow{"EmptyName", [](auto&) { return std::string(); }, OpenOutcome::Missing, ENOENT},
        // Unprivileged, exclusive mode refuses the open (EBUSY); privileged, the lock refuses.
        OpenRow{"PseudoTerminalHeldByAnotherSession", [](auto& t) { return t.HeldModulePort(); },
                OpenOutcome::Busy, -1},
        OpenRow{"PseudoTerminalLockedByAnotherProgram",
                [](auto& t) { return t.LockedModulePort(); }, OpenOutcome::Busy, EWOULDBLOCK},
        OpenRow{"FileWithoutPermission", [](auto& t) { return t.File(0); },
                OpenOutcome::PermissionDenied, EACCES},
        OpenRow{"RegularFile", [](auto& t) { return t.File(0600); }, OpenOutcome::NotATerminal,
                ENOTTY},
        OpenRow{"Directory", [](auto& t) { return t.Directory(); }, OpenOutcome::NotATerminal,
                EISDIR}),
    [](const auto& info) { return std::string(info.param.name); });

std::size_t InputWaiting(int fd) {
    int waiting = 0;
    return ::ioctl(fd, FIONREAD, &waiting) == 0 ? static_cast<std::size_t>(waiting) : 0;
}

// Waits until `count` bytes can be read from `fd`; false when the wait ends without them.
bool WaitForInput(int fd, std::size_t count) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (InputWaiting(fd) < count) {
        if (std::chrono::steady_clock::now() > giveUp) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

TEST(ProbePortTest, LeavesLineSettingsAndWaitingInputAlone) {
    SimulatedModule module;
    ASSERT_TRUE(module.Start());
    SerialSession session;
    ASSERT_EQ(session.Open(module.PortPath()), OpenOutcome::Opened);
    ASSERT_TRUE(session.Write(kReadRequestBytes));
    ASSERT_TRUE(module.WaitForAnswers(1, std::chrono::seconds(2)));
    session.Close();  // the answer waits in the input queue
    const UniqueFd other(::open(module.PortPath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK));
    termios cooked{};
    ASSERT_EQ(::tcgetattr(other.Get(), &cooked), 0);
    cfsetspeed(&cooked, B9600);
    cooked.c_cflag |= CSTOPB;
    ASSERT_EQ(::tcsetattr(other.Get(), TCSANOW, &cooked), 0);

    // The pseudo-terminal hands the module's bytes over on its own schedule; wait for all.
    ASSERT_TRUE(WaitForInput(other.Get(), kFrameSize));

    EXPECT_EQ(ProbePort(module.PortPath()), OpenOutcome::Opened);
    termios after{};
    ASSERT_EQ(::tcgetattr(other.Get(), &after), 0);
    EXPECT_EQ(cfgetospeed(&after), static_cast<speed_t>(B9600));
    EXPECT_NE(after.c_cflag & CSTOPB, 0U);
    EXPECT_EQ(InputWaiting(other.Get()), kFrameSize);
}

TEST(OpenErrorTest, SuccessClearsTheErrorOfAnEarlierFailure) {
    SimulatedModule module;
    ASSERT_TRUE(module.Start());
    SerialSession session;
    ASSERT_EQ(session.Open("/dev/lvcfg-no-such-port"), OpenOutcome::Missing);
    ASSERT_EQ(session.LastOpenError(), ENOENT);
    ASSERT_EQ(session.Open(module.PortPath()), OpenOutcome::Opened);
    EXPECT_EQ(session.LastOpenError(), 0);
}

}  // namespace
