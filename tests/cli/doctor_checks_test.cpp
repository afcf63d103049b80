// The machine checks of `doctor`, over folders made up to look like /proc and udev's.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli/doctor_checks.h"
#include "tests/files/temp_folder.h"

namespace {

struct MachineRow {
    const char* name;
    bool modemManagerRuns;
    bool ruleInstalled;
    bool brlttyInstalled;
    bool modemManagerOk;
    bool brlttyOk;
};

class DoctorChecksTest : public ::testing::TestWithParam<MachineRow> {
  protected:
    void SetUp() override {
        const auto& row = GetParam();
        m_places.procDir = Make("proc");
        WriteText("proc/1/comm", "systemd\n");
        WriteText("proc/self/comm", "ModemManager\n");  // not a process number: skipped
        if (row.modemManagerRuns) {
            WriteText("proc/812/comm", "ModemManager\n");
        }
        m_places.udevRulesDirs = {Make("rules"), m_folder.File("no-such-rules")};
        WriteText("rules/70-other.rules", "");
        if (row.ruleInstalled) {
            WriteText("rules/99-lvcfg.rules", "");
        }
        m_places.brlttyPrograms = {m_folder.File("bin/brltty")};
        if (row.brlttyInstalled) {
            Make("bin");
            WriteText("bin/brltty", "");
        }
        m_places.udevRunDir = Make("run-udev");  // no control socket: udev does not run
    }

    std::string Make(const std::string& name) {
        std::filesystem::create_directories(m_folder.Path() / name);
        return m_folder.File(name);
    }
    void WriteText(const std::string& name, const std::string& text) {
        std::filesystem::create_directories((m_folder.Path() / name).parent_path());
        std::ofstream(m_folder.File(name)) << text;
    }

    TempFolder m_folder;
    DoctorPlaces m_places;
};

TEST_P(DoctorChecksTest, AdvisesOnlyWhereSomethingIsInTheWay) {
    const auto& row = GetParam();
    const DoctorCheck modemManager = CheckModemManager(m_places);
    EXPECT_EQ(modemManager.ok, row.modemManagerOk) << modemManager.detail;
    EXPECT_EQ(modemManager.advice.empty(), modemManager.ok);
    const DoctorCheck brltty = CheckBrltty(m_places);
    EXPECT_EQ(brltty.ok, row.brlttyOk) << brltty.detail;
    EXPECT_EQ(brltty.advice.empty(), brltty.ok);
    const DoctorCheck udev = CheckUdev(m_places);
    EXPECT_FALSE(udev.ok);
    EXPECT_NE(udev.advice.find("--ports"), std::string::npos);
}

const MachineRow kMachineRows[] = {
    {"QuietMachine", false, false, false, true, true},
    {"ModemManagerWithoutRule", true, false, false, false, true},
    {"ModemManagerWithRule", true, true, false, true, true},
    {"RuleWithoutModemManager", false, true, false, true, true},
    {"BrlttyInstalled", false, false, true, true, false},
};

INSTANTIATE_TEST_SUITE_P(Machines, DoctorChecksTest, ::testing::ValuesIn(kMachineRows),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
