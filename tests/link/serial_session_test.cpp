#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "link/unique_fd.h"
#include "link_test_support.h"

namespace {

int OpenDescriptorCount() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;
}

UniqueFd OpenPlain(const std::string& path) {
    return UniqueFd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
}

TEST(SerialSessionTest, OpensAndClosesAPseudoTerminal) {
    SimulatedModule module;
    ASSERT_TRUE(module.Start());
    SerialSession session;
    EXPECT_FALSE(session.IsOpen());
    EXPECT_EQ(session.Open(module.PortPath()), OpenOutcome::Opened);
    EXPECT_TRUE(session.IsOpen());
    session.Close();
    EXPECT_FALSE(session.IsOpen());
    session.Close();  // harmless twice
}

TEST(SerialSessionTest, SecondSessionOnTheSamePortIsRefusedUntilTheFirstCloses) {
    SimulatedModule module;
    ASSERT_TRUE(module.Start());
    SerialSession first;
    ASSERT_EQ(first.Open(module.PortPath()), OpenOutcome::Opened);
    SerialSession second;
    EXPECT_EQ(second.Open(module.PortPath()), OpenOutcome::Busy);
    EXPECT_FALSE(second.IsOpen());
    first.Close();
    EXPECT_EQ(second.Open(module.PortPath()), OpenOutcome::Opened);
}

TEST(SerialSessionTest, DestroyingTheSessionFreesThePort) {
    SimulatedModule module;
    ASSERT_TRUE(module.Start());
    {
        SerialSession first;
        ASSERT_EQ(first.Open(module.PortPath()), OpenOutcome::Opened);
    }
    SerialSession second;
    EXPECT_EQ(second.Open(module.PortPath()), OpenOutcome::Opened);
}

TEST(SerialSessionTest, PortLockedByAnotherProgramIsBusy) {
    SimulatedModule module;
    ASSERT_TRUE(module.Start());
    // What picocom or pyserial (exclusive=True) do to hold a port.
    const UniqueFd other = OpenPlain(module.PortPath());
    ASSERT_TRUE(other.IsValid());
    ASSERT_EQ(::flock(other.Get(), LOCK_EX | LOCK_NB), 0);
    SerialSession session;
    EXPECT_EQ(session.Open(module.PortPath()), OpenOutcome::Busy);
}

TEST(SerialSessionTest, HoldsExclusiveModeOnlyWhileOpen) {
    SimulatedModule module;
    ASSERT_TRUE(module.Start());
    SerialSession session;
    ASSERT_EQ(session.Open(module.PortPath()), OpenOutcome::Opened);
    // A privileged process may still open an exclusive tty; ask the tty itself instead.
    const UniqueFd probe = OpenPlain(module.PortPath());
    if (!probe.IsValid()) {
        EXPECT_EQ(errno, EBUSY);  // unprivileged: exclusive mode refused the open
        return;
    }
    int exclusive = 0;
    ASSERT_EQ(::ioctl(probe.Get(), TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 1);
    session.Close();
    ASSERT_EQ(::ioctl(probe.Get(), TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0);
}

TEST(SerialSessionTest, SetsRawLineWithoutFlowControl) {
    SimulatedModule module;
    ASSERT_TRUE(module.Start());
    const UniqueFd probe = OpenPlain(module.PortPath());
    ASSERT_TRUE(probe.IsValid());
    termios cooked{};
    ASSERT_EQ(::tcgetattr(probe.Get(), &cooked), 0);
    cooked.c_lflag |= ICANON | ECHO;
    cooked.c_iflag |= IXON | IXOFF | ICRNL;
    cooked.c_cflag |= CRTSCTS | PARENB | CSTOPB;
    cfsetspeed(&cooked, B9600);
    ASSERT_EQ(::tcsetattr(probe.Get(), TCSANOW, &cooked), 0);

    SerialSession session;
    ASSERT_EQ(session.Open(module.PortPath()), OpenOutcome::Opened);
    termios line{};
    ASSERT_EQ(::tcgetattr(probe.Get(), &line), 0);
    EXPECT_EQ(cfgetospeed(&line), static_cast<speed_t>(B115200));
    EXPECT_EQ(cfgetispeed(&line), static_cast<speed_t>(B115200));
    EXPECT_EQ(line.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(line.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0U);
    EXPECT_EQ(line.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
    EXPECT_EQ(line.c_iflag & (IXON | IXOFF | ICRNL), 0U);
    EXPECT_EQ(line.c_lflag & (ICANON | ECHO | ISIG), 0U);
    EXPECT_EQ(line.c_oflag & OPOST, 0U);
}

TEST(SerialSessionTest, RegularFileFailsAtTheLineSettingsAndLeavesNothingOpen) {
    const std::string path = ::testing::TempDir() + "lvcfg_not_a_port";
    std::ofstream(path) << "not a serial port";
    const int before = OpenDescriptorCount();
    SerialSession session;
    EXPECT_EQ(session.Open(path), OpenOutcome::NotATerminal);
    EXPECT_FALSE(session.IsOpen());
    EXPECT_EQ(OpenDescriptorCount(), before);
    // Nothing was held: the file can be locked at once.
    const UniqueFd file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    EXPECT_EQ(::flock(file.Get(), LOCK_EX | LOCK_NB), 0);
    std::remove(path.c_str());
}

TEST(SerialSessionTest, MissingDeviceAndEmptyNameAreMissing) {
    SerialSession session;
    EXPECT_EQ(session.Open("/dev/lvcfg-no-such-port"), OpenOutcome::Missing);
    EXPECT_EQ(session.Open(""), OpenOutcome::Missing);
    EXPECT_EQ(session.Open("COM3"), OpenOutcome::Missing);  // a bare name is no path
    EXPECT_FALSE(session.IsOpen());
}

TEST(SerialSessionTest, FailedOpenClosesTheSessionThatWasOpen) {
    SimulatedModule module;
    ASSERT_TRUE(module.Start());
    SerialSession session;
    ASSERT_EQ(session.Open(module.PortPath()), OpenOutcome::Opened);
    EXPECT_EQ(session.Open("/dev/lvcfg-no-such-port"), OpenOutcome::Missing);
    EXPECT_FALSE(session.IsOpen());
    SerialSession other;
    EXPECT_EQ(other.Open(module.PortPath()), OpenOutcome::Opened);
}

TEST(SerialSessionTest, ClosedSessionNeitherWritesNorReads) {
    SerialSession session;
    std::array<std::uint8_t, 4> buffer{};
    std::size_t received = 99;
    EXPECT_FALSE(session.Write(kReadRequestBytes));
    EXPECT_FALSE(session.Read(buffer, received));
    EXPECT_EQ(received, 0U);
}

TEST(SerialSessionTest, MovedSessionKeepsThePort) {
    SimulatedModule module;
    ASSERT_TRUE(module.Start());
    SerialSession first;
    ASSERT_EQ(first.Open(module.PortPath()), OpenOutcome::Opened);
    SerialSession moved = std::move(first);
    EXPECT_TRUE(moved.IsOpen());
    const Exchange exchange = Transact(moved, kReadRequestBytes, kFrameSize);
    EXPECT_EQ(exchange.answer.size(), kFrameSize);
}

using SerialSessionOnPtyTest = ModuleOnPty;

TEST_F(SerialSessionOnPtyTest, WritesAWholeFrame) {
    ConfigFrame frame = m_module.StoredFrame();
    frame[FrameOffset::kMac + 5] = 0x42;
    SealFrame(frame);
    const Exchange exchange = WriteModuleFrame(frame);
    EXPECT_TRUE(exchange.wrote);
    ASSERT_TRUE(m_module.WaitForAnswers(1, std::chrono::seconds(2)));
    ASSERT_TRUE(m_module.LastWrittenFrame().has_value());
    EXPECT_EQ(*m_module.LastWrittenFrame(), frame);
}

TEST_F(SerialSessionOnPtyTest, RestOfAnOverlongAnswerIsPurgedAtTheNextOpen) {
    m_module.MisbehaveOnce(Misbehaviour::LongAnswer);
    const Exchange first = ReadModuleFrame();
    ASSERT_EQ(first.answer.size(), kFrameSize);
    ASSERT_TRUE(m_module.WaitForAnswers(1, std::chrono::seconds(2)));
    m_session.Close();

    ASSERT_EQ(m_session.Open(m_module.PortPath()), OpenOutcome::Opened);
    std::array<std::uint8_t, 4> leftover{};
    std::size_t received = 0;
    EXPECT_TRUE(m_session.Read(leftover, received));
    EXPECT_EQ(received, 0U);
    const Exchange second = ReadModuleFrame();
    EXPECT_EQ(second.answer, std::vector<std::uint8_t>(first.answer));
}

TEST_F(SerialSessionOnPtyTest, TwoSessionsInARowBothExchange) {
    EXPECT_EQ(ReadModuleFrame().answer.size(), kFrameSize);
    m_session.Close();
    ASSERT_EQ(m_session.Open(m_module.PortPath()), OpenOutcome::Opened);
    EXPECT_EQ(ReadModuleFrame().answer.size(), kFrameSize);
    EXPECT_EQ(m_module.ReadRequests(), 2);
}

}  // namespace
