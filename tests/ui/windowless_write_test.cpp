// A module programmed without a window gets exactly the frame that the window sends after Open
// of the same file followed by Write, with the same range warnings.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/cfg_file_loader.h"
#include "model/control_ids.h"
#include "model/mac_address.h"
#include "station/module_attempt.h"
#include "tests/support/headless_backend.h"
#include "tests/support/report_texts.h"
#include "tools/module_sim/simulated_module.h"
#include "ui/lvcfg_dlg.h"

namespace {

using namespace report_text;

struct WriteRow {
    const char* name;
    const char* file;  // under tests/data
    ModuleIdentity module;
};

const WriteRow kRows[] = {
    {"DefaultsOntoNode", "window_defaults.cfg", {}},
    {"ReadModuleOntoRoot27MHz", "read_module.cfg", {ModuleRole::Root, 20, 470, 27}},
    {"ManySettingsOntoNode26MHz", "many_settings.cfg", {ModuleRole::Node, 10, 433, 26}},
};

std::string DataFile(const WriteRow& row) {
    return std::string(LVCFG_TEST_DATA_DIR) + "/" + row.file;
}

// What the window sends: Open of the file, then Write, answering every box.
ConfigFrame WindowWrite(const WriteRow& row, std::vector<std::string>& warnings) {
    SimulatedModule module({row.module});
    HeadlessBackend backend;
    LVCfgDlgServices services;
    services.now = 0x4E5F1A2B;
    CLVCfgDlg dlg(backend, services);
    EXPECT_TRUE(module.Start() && dlg.Create());
    HeadlessWindow& window = *backend.TopWindow();
    backend.AnswerNextFileChooser(DataFile(row));
    EXPECT_TRUE(window.Click(IDC_OPEN));
    EXPECT_TRUE(window.Type(IDC_COM_PORT, module.PortPath()));
    EXPECT_TRUE(window.Click(IDC_WRITE));
    EXPECT_EQ(window.GetText(IDC_STATUS), kWriteSucceeded);
    for (const MessageBoxRecord& box : backend.MessageBoxes()) {
        warnings.push_back(box.text);
    }
    return module.LastWrittenFrame().value_or(ConfigFrame{});
}

class WindowlessWrite : public ::testing::TestWithParam<WriteRow> {};

TEST_P(WindowlessWrite, SendsWhatTheWindowSends) {
    const WriteRow& row = GetParam();
    std::vector<std::string> windowWarnings;
    const ConfigFrame windowFrame = WindowWrite(row, windowWarnings);

    ConfigFrame file{};
    ASSERT_EQ(LoadCfgFile(DataFile(row), file), CfgLoadOutcome::Loaded);
    SimulatedModule module({row.module});
    ASSERT_TRUE(module.Start());
    AttemptSetup setup;
    setup.settings = SettingsFromFrame(file);
    const AttemptResult result =
        ProgramAttempt(module.PortPath(), setup, [&file](const ConfigFrame&) {
            MacDecision decision;
            decision.kind = MacDecision::Kind::Write;
            decision.take.grant = MacGrant{MacOfFrame(file), 0};
            return decision;
        });

    ASSERT_EQ(result.outcome, ModuleOutcome::Succeeded) << ModuleOutcomeReason(result.outcome);
    EXPECT_EQ(result.sent, windowFrame);
    EXPECT_EQ(result.warnings, windowWarnings);
}

INSTANTIATE_TEST_SUITE_P(GoldenFiles, WindowlessWrite, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
