#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "tests/install/installed_files.h"
#include "tests/install/installed_root.h"
#include "tests/install/udev_rule_walk.h"

namespace {

struct AdapterEvent {
    const char* name;
    const char* action;
    const char* subsystem;
    const char* vendor;
    const char* product;
    const char* driver;
    bool handled;     // ModemManager kept off, the seat user may open it
    bool lowLatency;  // the FTDI latency timer set to 1 ms
};

void PrintTo(const AdapterEvent& event, std::ostream* out) {
    *out << event.name;
}

class InstalledUdevRule : public ::testing::TestWithParam<AdapterEvent> {
  protected:
    void SetUp() override {
        const InstalledRoot& root = InstalledRoot::shared();
        ASSERT_EQ(root.install().exitStatus, 0) << root.install().text;
        m_rules = readText(root.path(kUdevRulesDir + "/60-lvcfg.rules"));
        ASSERT_NE(m_rules, "");
    }
    std::string m_rules;
};

TEST_P(InstalledUdevRule, HandlesExactlyTheListedAdapters) {
    const AdapterEvent& adapter = GetParam();
    const UdevOutcome outcome = walkUdevRules(
        m_rules, UdevEvent{adapter.action,
                           adapter.subsystem,
                           adapter.driver,
                           {{"idVendor", adapter.vendor}, {"idProduct", adapter.product}}});
    ASSERT_TRUE(outcome.problems.empty()) << ::testing::PrintToString(outcome.problems);

    if (adapter.handled) {
        EXPECT_EQ(outcome.properties.size(), 2u);
        EXPECT_EQ(outcome.properties.count("ID_MM_DEVICE_IGNORE")
                      ? outcome.properties.at("ID_MM_DEVICE_IGNORE")
                      : "",
                  "1");
        EXPECT_EQ(outcome.properties.count("ID_MM_PORT_IGNORE")
                      ? outcome.properties.at("ID_MM_PORT_IGNORE")
                      : "",
                  "1");
        EXPECT_EQ(outcome.tags, std::set<std::string>{"uaccess"});
    } else {
        EXPECT_TRUE(outcome.properties.empty()) << ::testing::PrintToString(outcome.properties);
        EXPECT_TRUE(outcome.tags.empty()) << ::testing::PrintToString(outcome.tags);
    }
    if (adapter.lowLatency) {
        EXPECT_EQ(outcome.writtenAttributes,
                  (std::map<std::string, std::string>{{"device/latency_timer", "1"}}));
    } else {
        EXPECT_TRUE(outcome.writtenAttributes.empty())
            << ::testing::PrintToString(outcome.writtenAttributes);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Install, InstalledUdevRule,
    ::testing::Values(
        AdapterEvent{"FtdiFT232R", "add", "tty", "0403", "6001", "ftdi_sio", true, true},
        AdapterEvent{"FtdiFT2232", "add", "tty", "0403", "6010", "ftdi_sio", true, true},
        AdapterEvent{"FtdiFT232H", "add", "tty", "0403", "6014", "ftdi_sio", true, true},
        AdapterEvent{"FtdiFT231X", "add", "tty", "0403", "6015", "ftdi_sio", true, true},
        AdapterEvent{"SiliconLabsCP210x", "add", "tty", "10c4", "ea60", "cp210x", true, false},
        AdapterEvent{"WchCH340", "add", "tty", "1a86", "7523", "ch341", true, false},
        AdapterEvent{"WchCH343", "add", "tty", "1a86", "55d4", "cdc_acm", true, false},
        AdapterEvent{"ProlificPL2303", "add", "tty", "067b", "2303", "pl2303", true, false},
        // A retrigger (udevadm trigger) applies the rule again to a plugged adapter.
        AdapterEvent{"ChangeOfAListedAdapter", "change", "tty", "0403", "6001", "ftdi_sio", true,
                     true},
        AdapterEvent{"RemovalOfAListedAdapter", "remove", "tty", "0403", "6001", "ftdi_sio", false,
                     false},
        AdapterEvent{"UnlistedFtdiProduct", "add", "tty", "0403", "6011", "ftdi_sio", false, false},
        AdapterEvent{"UnlistedVendor", "add", "tty", "2341", "0043", "cdc_acm", false, false},
        AdapterEvent{"ListedAdapterButNoTty", "add", "usb-serial", "0403", "6001", "ftdi_sio",
                     false, false}),
    [](const ::testing::TestParamInfo<AdapterEvent>& info) {
        return std::string(info.param.name);
    });

}  // namespace
