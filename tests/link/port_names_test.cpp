#include "link/port_names.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

// A stand-in /dev with a few serial device nodes (plain files do: resolution only looks).
class PortNameTest : public ::testing::Test {
  protected:
    // A fresh folder per run: a fixed name would be shared by two runs at once (or left behind
    // by another user), and one run's clean-up would pull the nodes from under the other.
    void SetUp() override {
        std::string pattern = ::testing::TempDir() + "lvcfg_dev_XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dev = pattern;
        for (const char* name : {"ttyUSB0", "ttyUSB2", "ttyACM1", "ttyACM2", "ttyS2", "ttyS3"}) {
            std::ofstream(m_dev / name);
        }
    }
    void TearDown() override { fs::remove_all(m_dev); }

    std::string Resolve(std::string_view text) const {
        return ResolvePortName(text, m_announced, m_dev.string());
    }
    std::string Dev(const char* name) const { return (m_dev / name).string(); }

    fs::path m_dev;
    AnnouncedPorts m_announced;
};

TEST_F(PortNameTest, ComNameInAnyCaseFindsTheUsbAdapterFirst) {
    EXPECT_EQ(Resolve("COM1"), Dev("ttyUSB0"));
    EXPECT_EQ(Resolve("com1"), Dev("ttyUSB0"));
    EXPECT_EQ(Resolve("Com3"), Dev("ttyUSB2"));
    EXPECT_EQ(Resolve("cOM3"), Dev("ttyUSB2"));
}

TEST_F(PortNameTest, ComNameFallsBackToAcmThenBuiltInPorts) {
    EXPECT_EQ(Resolve("COM2"), Dev("ttyACM1"));
    EXPECT_EQ(Resolve("COM4"), Dev("ttyS3"));
}

TEST_F(PortNameTest, ComNameWithoutAnyDeviceNamesTheMissingUsbAdapter) {
    EXPECT_EQ(Resolve("COM50"), Dev("ttyUSB49"));
}

TEST_F(PortNameTest, AnnouncedPortComesFirstUntilForgotten) {
    m_announced.Announce(1, "/dev/pts/7");
    m_announced.Announce(12, "/dev/ttyUSB11");
    EXPECT_EQ(Resolve("com1"), "/dev/pts/7");
    EXPECT_EQ(Resolve("COM12"), "/dev/ttyUSB11");
    m_announced.Announce(1, "/dev/pts/8");
    EXPECT_EQ(Resolve("COM1"), "/dev/pts/8");
    m_announced.Forget(1);
    EXPECT_EQ(Resolve("COM1"), Dev("ttyUSB0"));
    EXPECT_FALSE(m_announced.Lookup(1).has_value());
}

TEST_F(PortNameTest, PathIsTakenAsItStands) {
    EXPECT_EQ(Resolve("/dev/pts/3"), "/dev/pts/3");
    EXPECT_EQ(Resolve("/dev/COM1"), "/dev/COM1");
    EXPECT_EQ(Resolve("/tmp/ttyUSB0 "), "/tmp/ttyUSB0 ");
}

// Texts that are no COMn name go to the open untouched and fail there.
class UnresolvedPortNameTest : public PortNameTest,
                               public ::testing::WithParamInterface<const char*> {};

TEST_P(UnresolvedPortNameTest, IsOpenedAsItStands) {
    EXPECT_EQ(Resolve(GetParam()), GetParam());
    EXPECT_FALSE(ComNumberOfPortName(GetParam()).has_value());
}

INSTANTIATE_TEST_SUITE_P(Texts, UnresolvedPortNameTest,
                         ::testing::Values("", "COM", "COM0", "COMx", "COM01", "COM-1", " COM1",
                                           "COM1 ", "COM1x", "CON1", "ttyUSB0", "dev/ttyUSB0",
                                           "COM99999999999"),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(ComNumberTest, OfPortName) {
    EXPECT_EQ(ComNumberOfPortName("COM1"), 1);
    EXPECT_EQ(ComNumberOfPortName("com10"), 10);
    EXPECT_EQ(ComNumberOfPortName("CoM256"), 256);
}

struct KernelNameRow {
    const char* kernelName;
    std::optional<int> number;
};

class KernelNameTest : public ::testing::TestWithParam<KernelNameRow> {};

TEST_P(KernelNameTest, NumbersTheComPort) {
    EXPECT_EQ(ComNumberOfKernelName(GetParam().kernelName), GetParam().number);
}

INSTANTIATE_TEST_SUITE_P(
    Names, KernelNameTest,
    ::testing::Values(KernelNameRow{"ttyUSB0", 1}, KernelNameRow{"ttyACM3", 4},
                      KernelNameRow{"ttyS1", 2}, KernelNameRow{"ttyUSB15", 16},
                      KernelNameRow{"/dev/ttyUSB2", 3}, KernelNameRow{"ttyS", std::nullopt},
                      KernelNameRow{"ttyUSB", std::nullopt},
                      KernelNameRow{"ttyUSB01", std::nullopt},
                      KernelNameRow{"ttySomething", std::nullopt},
                      KernelNameRow{"pts0", std::nullopt}, KernelNameRow{"tty1", std::nullopt},
                      KernelNameRow{"", std::nullopt}),
    [](const auto& info) {
        std::string name = info.param.kernelName;
        std::erase_if(name, [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); });
        return (name.empty() ? std::string("Empty") : name) + "_" + std::to_string(info.index);
    });

}  // namespace
