#include "resources/main_dialog_template.h"
#include "tests/ui/main_window_fixture.h"

namespace {

TEST_F(MainWindow, ShowsTheDefaultsAfterCreation) {
    EXPECT_EQ(Text(IDC_NAME), "ORBA AMR KTR5520Q");
    EXPECT_EQ(Text(IDC_VERSION), "1.6");
    EXPECT_EQ(Text(IDC_TYPE), "UNKNOWN");
    EXPECT_EQ(Text(IDC_FREQ_BAND), "433MHz");
    EXPECT_EQ(Text(IDC_POWER_MAX), "10dBm");
    EXPECT_EQ(Text(IDC_MAC), "4E 5F 1A 2B 00 00");
    EXPECT_EQ(Text(IDC_START_FREQ), "433");
    EXPECT_EQ(Text(IDC_CCA_THRESHOLD), "0");
    EXPECT_EQ(Text(IDC_ADDR_LENGTH), "16");
    EXPECT_EQ(Text(IDC_AUX_CH_INTERVAL), "1");
    EXPECT_EQ(Text(IDC_HOST_BOOT_TIME), "1");
    EXPECT_EQ(Text(IDC_RESPONSE_TIMEOUT), "1");
    EXPECT_EQ(Text(IDC_NETWORK_ID), "0");
    EXPECT_EQ(Text(IDC_BACKOFF_TICK), "0");
    for (const int id :
         {IDC_HANDSHAKE_ACK, IDC_BROADCAST_CMD1, IDC_BROADCAST_CMD2, IDC_HOST_ADDR_INQUIRY}) {
        EXPECT_EQ(Text(id), "") << id;
    }
    for (const int id : {IDC_AUTO_CONFIG, IDC_FLOW_CTRL, IDC_SLEEP, IDC_REPEAT, IDC_FLIP_ACT_PIN}) {
        EXPECT_EQ(m_window->GetCheck(id), BST_UNCHECKED) << id;
    }
    EXPECT_EQ(Text(IDC_RF_POWER), "+10dBm");
    EXPECT_EQ(Text(IDC_RF_BAUD_DEF), "500kbps");
    EXPECT_EQ(Text(IDC_ACT_PIN), "无");
}

TEST_F(MainWindow, EveryBoundListStartsAtItsFirstItem) {
    for (const int id :
         {IDC_FRAME_END_CHECK, IDC_RF_BAUD_MAX, IDC_RF_BAUD_MIN, IDC_ACT_PIN, IDC_RF_BAUD_DEF,
          IDC_AUX_CH_NUM, IDC_RF_POWER, IDC_UART_BAUD, IDC_UART_START_BIT, IDC_FRAME_MODE,
          IDC_UART_PARITY, IDC_UART_STOP_BIT, IDC_DEVICE_NUM}) {
        EXPECT_EQ(m_window->GetCurSel(id), 0) << id;
    }
}

TEST_F(MainWindow, PortBoxStatusLineAndFocusAfterCreation) {
    EXPECT_EQ(Text(IDC_COM_PORT), "");
    EXPECT_EQ(m_window->GetCurSel(IDC_COM_PORT), CB_ERR);
    EXPECT_EQ(m_window->Items(IDC_COM_PORT).size(), 50U);
    EXPECT_EQ(Text(IDC_STATUS), "");
    EXPECT_EQ(m_window->Focus(), IDC_COM_PORT);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(m_window->UnknownIdAccesses(), 0);
}

TEST_F(MainWindow, StartsShrunkByTheAdvancedStripWithItsCaption) {
    const CRect rect = m_window->GetWindowRect();
    const int fullWidth = (MainDialogTemplate().width * 3 + 1) / 2;
    const int fullHeight = (MainDialogTemplate().height * 3 + 1) / 2;
    EXPECT_EQ(rect.Width(), fullWidth);
    EXPECT_EQ(rect.Height(), fullHeight - 93);
    EXPECT_EQ(m_dlg.m_rcFull.right - m_dlg.m_rcFull.left, fullWidth);
    EXPECT_EQ(m_dlg.m_rcFull.bottom - m_dlg.m_rcFull.top, fullHeight);
    EXPECT_EQ(Text(IDC_ADVANCED), "Advanced>>");
    EXPECT_FALSE(m_dlg.m_bAdvancedShown);
}

TEST_F(MainWindow, WindowMenuEndsWithTheAboutItem) {
    ASSERT_EQ(m_window->SystemMenu().size(), 1U);
    EXPECT_EQ(m_window->SystemMenu().back().commandId, 16U);
    EXPECT_EQ(m_window->SystemMenu().back().text, "About Lumivaro Configure Tool (&A)...");
}

TEST_F(MainWindow, SetsIconLargeThenSmall) {
    EXPECT_EQ(m_window->Icons(), (std::vector<std::pair<int, bool>>{{128, true}, {128, false}}));
    EXPECT_EQ(m_dlg.OnQueryDragIcon(), 128);
}

TEST_F(MainWindow, EveryControlIsEnabledAtStart) {
    for (int id = 1000; id <= 1063; ++id) {
        EXPECT_TRUE(m_window->IsControlEnabled(id)) << id;
    }
}

TEST(MainWindowConstruction, BuildsTheDefaultWorkingFrameBeforeAnyWindow) {
    HeadlessBackend backend;
    CLVCfgDlg dlg(backend, LVCfgDlgServices{kFixedNow});
    EXPECT_EQ(dlg.Window(), nullptr);
    EXPECT_EQ(ModuleNameText(dlg.m_workFrame), "ORBA AMR KTR5520Q");
    EXPECT_EQ(dlg.m_workFrame[36], 6);
    EXPECT_EQ(dlg.m_workFrame[37], 1);
    EXPECT_EQ(dlg.m_hIcon, 128);
    EXPECT_EQ(dlg.Settings().m_strMac, "4E 5F 1A 2B 00 00");
    EXPECT_EQ(dlg.m_rcFull.right, 0);
}

}  // namespace
