#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>

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
