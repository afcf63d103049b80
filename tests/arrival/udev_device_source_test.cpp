#include "link/arrival/udev_device_source.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>


namespace {

constexpr const char* kSystemRunDir = "/run/udev";

// A scratch folder standing for the udev daemon's run folder.
class FakeRunDir {
  public:
    FakeRunDir() {
        std::string pattern = std::filesystem::temp_directory_path() / "lvcfg-udev-XXXXXX";
        if (::mkdtemp(pattern.data()) != nullptr) {
            m_path = pattern;
        }
    }
    ~FakeRunDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    FakeRunDir(const FakeRunDir&) = delete;
    FakeRunDir& operator=(const FakeRunDir&) = delete;

    void AddControl() const { std::ofstream(m_path / "control").put('\0'); }
    [[nodiscard]] std::string Path() const { return m_path.string(); }

  private:
    std::filesystem::path m_path;
};

TEST(UdevDeviceSource, MonitorIsCreatedWhereUdevRuns) {
    if (::access((std::string(kSystemRunDir) + "/control").c_str(), F_OK) != 0) {
        GTEST_SKIP() << "no udev daemon on this machine (" << kSystemRunDir
                     << "/control is missing, as in most containers)";
    }
    UdevDeviceSource::Setup setup = UdevDeviceSource::Create();
    ASSERT_EQ(setup.outcome, UdevSetupOutcome::Ready) << UdevSetupOutcomeName(setup.outcome);
    ASSERT_NE(setup.source, nullptr);
    EXPECT_GE(setup.source->Descriptor(), 0);
}

TEST(UdevDeviceSource, WithoutDaemonTheSetupFailsAndSaysWhy) {
    FakeRunDir runDir;
    UdevDeviceSource::Setup setup = UdevDeviceSource::Create(runDir.Path());
    EXPECT_EQ(setup.outcome, UdevSetupOutcome::NoDaemon);
    EXPECT_EQ(setup.source, nullptr);
}

// The libudev calls themselves also work where no daemon runs: a monitor that nothing sends
// to, whose receive must come back at once instead of blocking the window.
TEST(UdevDeviceSource, IdleMonitorReceivesNothingWithoutBlocking) {
    FakeRunDir runDir;
    runDir.AddControl();
    UdevDeviceSource::Setup setup = UdevDeviceSource::Create(runDir.Path());
    if (setup.outcome == UdevSetupOutcome::MonitorFailed) {
        GTEST_SKIP() << "this sandbox refuses netlink sockets";
    }
    ASSERT_EQ(setup.outcome, UdevSetupOutcome::Ready);
    ASSERT_GE(setup.source->Descriptor(), 0);
    if (::access((std::string(kSystemRunDir) + "/control").c_str(), F_OK) != 0) {
        EXPECT_EQ(setup.source->Receive(), std::nullopt);
    }
}

}  // namespace
