// A module read with `lvcfg-cli read --output` opens in the window, which then holds and shows
// the values the command listed.
#include <gtest/gtest.h>

#include "cli_rig.h"
#include "model/control_ids.h"
#include "model/setting_field.h"
#include "station/setting_values.h"
#include "tests/support/headless_backend.h"
#include "tests/support/report_texts.h"
#include "ui/lvcfg_dlg.h"

namespace {

using json = nlohmann::ordered_json;

TEST_F(CliTest, FileSavedByReadOpensInTheWindowWithTheListedValues) {
    const std::string port = m_modules.Start(
        {"--mac", "4C 56 00 00 00 44", "--role", "root", "--power", "20", "--crystal", "27"});
    const std::string file = m_folder.File("read.cfg");
    const ProgramRun read = Cli({"read", "--port", port, "--output", file, "--json"});
    ASSERT_EQ(read.exitStatus, 0) << read.err;
    const json listed = JsonLines(read.out).at(0);

    HeadlessBackend backend;
    CLVCfgDlg dlg(backend);
    ASSERT_TRUE(dlg.Create());
    HeadlessWindow& window = *backend.TopWindow();
    backend.AnswerNextFileChooser(file);
    ASSERT_TRUE(window.Click(IDC_OPEN));
    EXPECT_EQ(window.GetText(IDC_STATUS), report_text::kFileRead);
    EXPECT_TRUE(backend.MessageBoxes().empty());

    const ConfigSettings& shown = dlg.Settings();
    int compared = 0;
    for (const SettingField& field : SettingFields()) {
        const std::string name(field.name);
        if (!listed["fields"].contains(name)) {
            continue;  // the identity, listed from the frame itself
        }
        const FieldValue value = GetFieldValue(shown, field);
        EXPECT_EQ(std::visit([](const auto& v) { return json(v); }, value), listed["fields"][name])
            << name;
        ++compared;
    }
    EXPECT_EQ(compared, static_cast<int>(listed["fields"].size()));
    EXPECT_EQ(window.GetText(IDC_NETWORK_ID),
              FieldValueText(FieldValue(listed["fields"]["network_id"].get<long long>())));
    EXPECT_EQ(window.GetText(IDC_MAC), "4C 56 00 00 00 44");
    EXPECT_EQ(window.GetText(IDC_POWER_MAX), "20dBm");
}

}  // namespace
