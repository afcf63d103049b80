// The .cfg files under tests/data, made by the window: each is saved again from the same steps
// and must come out byte for byte, and a window that opens it saves it again unchanged.

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "model/config_frame.h"
#include "model/control_ids.h"
#include "tests/files/temp_folder.h"
#include "tests/support/headless_backend.h"
#include "tests/support/report_texts.h"
#include "tools/module_sim/simulated_module.h"
#include "ui/lvcfg_dlg.h"

namespace {

using namespace report_text;

// A window with a fixed clock, and a simulated module whose port is typed into the port box.
class GoldenWindow {
  public:
    explicit GoldenWindow(const ModuleIdentity& identity) : m_module({identity}) {
        LVCfgDlgServices services;
        services.now = 0x4E5F1A2B;
        m_dlg = std::make_unique<CLVCfgDlg>(m_backend, services);
    }

    [[nodiscard]] bool Start() {
        if (!m_module.Start() || !m_dlg->Create()) {
            return false;
        }
        m_window = m_backend.TopWindow();
        return m_window != nullptr && m_window->Type(IDC_COM_PORT, m_module.PortPath());
    }

    [[nodiscard]] bool ReadModule() {
        return m_window->Click(IDC_READ) && Status() == kReadSucceeded;
    }
    [[nodiscard]] bool Save(const std::string& path) {
        m_backend.AnswerNextFileChooser(path);
        return m_window->Click(IDC_SAVE) && Status() == kFileWritten;
    }
    [[nodiscard]] bool Open(const std::string& path) {
        m_backend.AnswerNextFileChooser(path);
        return m_window->Click(IDC_OPEN) && Status() == kFileRead;
    }

    [[nodiscard]] std::string Status() const { return m_window->GetText(IDC_STATUS); }
    HeadlessWindow& Window() { return *m_window; }

  private:
    SimulatedModule m_module;
    HeadlessBackend m_backend;
    std::unique_ptr<CLVCfgDlg> m_dlg;
    HeadlessWindow* m_window = nullptr;
};

// Most settings of the window moved away from what a module holds.
void ChangeManySettings(HeadlessWindow& window) {
    window.Type(IDC_DEVICE_NUM, "17");
    window.Type(IDC_MAIN_CHANNEL, "12");
    window.Type(IDC_START_FREQ, "471.5");
    window.Type(IDC_AUX_START_CHANNEL, "3");
    window.Type(IDC_AUX_CH_INTERVAL, "2");
    window.Type(IDC_NETWORK_ID, "4660");
    window.Type(IDC_MAC, "4C 56 12 34 56 78");
    window.Select(IDC_RF_POWER, 2);
    window.Select(IDC_ACT_PIN, 1);
    window.Select(IDC_UART_BAUD, 3);
    window.Select(IDC_UART_PARITY, 1);
    window.Select(IDC_FRAME_MODE, 1);
    window.Type(IDC_HOST_BOOT_TIME, "250");
    window.Type(IDC_RESPONSE_TIMEOUT, "300");
    window.Type(IDC_SYNC_INTERVAL, "60");
    window.Type(IDC_ADDR_LENGTH, "4");
    window.Type(IDC_HANDSHAKE_ACK, "AA 55 01");
    window.Type(IDC_HOST_ADDR_INQUIRY, "7E 01 02 03 7E");
    window.Type(IDC_BROADCAST_CMD1, "FF");
    window.Type(IDC_BROADCAST_CMD2, "10 20 30 40 50 60");
    window.Click(IDC_FLOW_CTRL);
    window.Click(IDC_REPEAT);
    window.Click(IDC_FLIP_ACT_PIN);
    window.Click(IDC_FRAME_END_CHECK);
    window.Type(IDC_AUTO_SLEEP_TIMEOUT, "1000");
    window.Type(IDC_TIMEOUT_UP, "40");
    window.Type(IDC_TIMEOUT_DOWN, "60");
    window.Type(IDC_SYNC_DURATION, "5");
    window.Type(IDC_BEACON_DURATION, "3");
    window.Type(IDC_AUTO_WAKE_SLOT, "8");
    window.Type(IDC_COMPENSATION_UNIT, "2");
}

// The advanced panel is shown first: its fields take no typing while it is cut off.
void ChangeManySettingsWithAdvancedShown(HeadlessWindow& window) {
    window.Click(IDC_ADVANCED);
    ChangeManySettings(window);
}

// Settings a file sets, all moved to values no golden file holds.
void MoveSettingsAway(HeadlessWindow& window) {
    window.Type(IDC_DEVICE_NUM, "99");
    window.Type(IDC_MAIN_CHANNEL, "31");
    window.Type(IDC_NETWORK_ID, "1");
    window.Type(IDC_MAC, "01 02 03 04 05 06");
    window.Select(IDC_UART_BAUD, 0);
    window.Select(IDC_UART_STOP_BIT, 1);
    window.Type(IDC_HANDSHAKE_ACK, "01 02");
    window.Click(IDC_SLEEP);
    window.Click(IDC_REPEAT);
    window.Type(IDC_BACKOFF_TICK, "5000");
    window.Type(IDC_COMPENSATION_UNIT, "9");
}

// A root module of the 20 dBm class on 470 MHz with a 27 MHz crystal.
ModuleIdentity RootModule() {
    ModuleIdentity identity;
    identity.role = ModuleRole::Root;
    identity.powerDbm = 20;
    identity.bandMHz = 470;
    identity.crystalMHz = 27;
    identity.mac = {0x4C, 0x56, 0x00, 0x00, 0x02, 0x9A};
    return identity;
}

struct GoldenFile {
    const char* name;
    const char* file;  // under tests/data
    ModuleIdentity module;
    bool readModule;  // the module is read before anything else
    void (*change)(HeadlessWindow& window);
    bool advancedShown;  // when the file was saved
};

void PrintTo(const GoldenFile& row, std::ostream* out) {
    *out << row.file;
}

std::string GoldenPath(const GoldenFile& row) {
    return std::string(LVCFG_TEST_DATA_DIR) + "/" + row.file;
}

class CfgGoldenFiles : public testing::TestWithParam<GoldenFile> {
  protected:
    TempFolder folder;
};

TEST_P(CfgGoldenFiles, SavingFromTheSameStepsGivesTheSameBytes) {
    const std::vector<std::uint8_t> golden = ReadBytes(GoldenPath(GetParam()));
    ASSERT_EQ(golden.size(), kFrameSize);

    GoldenWindow window(GetParam().module);
    ASSERT_TRUE(window.Start());
    if (GetParam().readModule) {
        ASSERT_TRUE(window.ReadModule());
    }
    if (GetParam().change != nullptr) {
        GetParam().change(window.Window());
    }
    const std::string saved = folder.File("saved.cfg");
    ASSERT_TRUE(window.Save(saved)) << window.Status();
    EXPECT_EQ(ReadBytes(saved), golden);
}

// A window that holds what the file was saved over (the same module read, or none) shows the
// file's settings on Open, after they were changed, and saves the same bytes again.
TEST_P(CfgGoldenFiles, OpenThenSaveGivesTheSameBytes) {
    const std::string golden = GoldenPath(GetParam());
    GoldenWindow window(GetParam().module);
    ASSERT_TRUE(window.Start());
    if (GetParam().readModule) {
        ASSERT_TRUE(window.ReadModule());
    }
    MoveSettingsAway(window.Window());
    if (GetParam().advancedShown) {
        window.Window().Click(IDC_ADVANCED);
    }
    ASSERT_TRUE(window.Open(golden)) << window.Status();

    const std::string saved = folder.File("saved.cfg");
    ASSERT_TRUE(window.Save(saved)) << window.Status();
    EXPECT_EQ(ReadBytes(saved), ReadBytes(golden));
}

INSTANTIATE_TEST_SUITE_P(
    Files, CfgGoldenFiles,
    testing::Values(GoldenFile{"WindowDefaults", "window_defaults.cfg", {}, false, nullptr, false},
                    GoldenFile{"ReadModule", "read_module.cfg", {}, true, nullptr, false},
                    GoldenFile{"ManySettings", "many_settings.cfg", RootModule(), true,
                               ChangeManySettingsWithAdvancedShown, true}),
    [](const testing::TestParamInfo<GoldenFile>& info) { return std::string(info.param.name); });

}  // namespace
