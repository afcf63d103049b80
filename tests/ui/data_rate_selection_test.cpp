#include "tests/ui/main_window_fixture.h"

namespace {

constexpr int k19200 = 6;  // "19.2kbps"
constexpr int k250k = 1;   // "250kbps"
constexpr int k1200 = 11;  // "1.2kbps"

TEST_F(MainWindow, RfBaudDefSelectionShowsItsDefaultsAtOnce) {
    m_window->Type(IDC_SLEEP_WAKE_RATE, "100");
    m_window->Type(IDC_MAIN_CHANNEL, "5");
    ASSERT_TRUE(m_window->Select(IDC_RF_BAUD_DEF, k19200));

    EXPECT_EQ(Text(IDC_BACKOFF_TICK), "1092");
    EXPECT_EQ(Text(IDC_CCA_THRESHOLD), "-75");
    EXPECT_EQ(Text(IDC_AUTO_WAKE_SLOT), "25");
    EXPECT_EQ(Text(IDC_BEACON_DURATION), "1250");
    EXPECT_EQ(Text(IDC_AUTO_SLEEP_TIMEOUT), "5460");
    EXPECT_EQ(Text(IDC_TIMEOUT_UP), "4000");
    EXPECT_EQ(Text(IDC_TIMEOUT_DOWN), "4000");
    EXPECT_EQ(Text(IDC_SYNC_DURATION), "25");
    EXPECT_EQ(Text(IDC_MAIN_CHANNEL), "0");
    // The faster of Def "19.2kbps" and Max "500kbps" decides the channel plan.
    EXPECT_EQ(Text(IDC_AUX_CH_INTERVAL), "10");
    EXPECT_EQ(Text(IDC_AUX_START_CHANNEL), "10");
    EXPECT_EQ(Text(IDC_AUX_CH_NUM), "4");
    EXPECT_EQ(Text(IDC_SLEEP_WAKE_RATE), "100");
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(MainWindow, RfBaudMaxSelectionSetsCompensationAndChannelPlan) {
    m_window->Select(IDC_RF_BAUD_DEF, k19200);
    m_window->Type(IDC_MAIN_CHANNEL, "9");
    ASSERT_TRUE(m_window->Select(IDC_RF_BAUD_MAX, k1200));
    EXPECT_EQ(Text(IDC_COMPENSATION_UNIT), "200");
    EXPECT_EQ(Text(IDC_MAIN_CHANNEL), "0");
    EXPECT_EQ(Text(IDC_AUX_CH_INTERVAL), "1");
    EXPECT_EQ(Text(IDC_AUX_START_CHANNEL), "1");
    EXPECT_EQ(Text(IDC_AUX_CH_NUM), "8");

    ASSERT_TRUE(m_window->Select(IDC_RF_BAUD_MAX, k250k));
    EXPECT_EQ(Text(IDC_AUX_CH_INTERVAL), "5");
}

TEST_F(MainWindow, RfBaudMinAndOtherListsHaveNoChangeHandler) {
    ASSERT_TRUE(m_window->Click(IDC_ADVANCED));
    m_window->Type(IDC_MAIN_CHANNEL, "5");
    m_window->Type(IDC_BACKOFF_TICK, "777");
    ASSERT_TRUE(m_window->Select(IDC_RF_BAUD_MIN, 3));
    ASSERT_TRUE(m_window->Select(IDC_UART_BAUD, 4));
    ASSERT_TRUE(m_window->Select(IDC_AUX_CH_NUM, 4));
    EXPECT_EQ(Text(IDC_MAIN_CHANNEL), "5");
    EXPECT_EQ(Text(IDC_BACKOFF_TICK), "777");
    EXPECT_EQ(m_dlg.Settings().m_iRfBaudMin, 0) << "no exchange ran";
}

TEST_F(MainWindow, SelectionWithAnUnparsableFieldPromptsThenOverwritesIt) {
    m_window->Type(IDC_NETWORK_ID, "abc");
    ASSERT_TRUE(m_window->Select(IDC_RF_BAUD_DEF, k19200));
    ASSERT_EQ(Boxes().size(), 1U);
    EXPECT_EQ(Boxes()[0].text, "请输入一个整数。");
    EXPECT_EQ(Text(IDC_NETWORK_ID), "0");
    // The failed read stopped before the lists, so the old index came back with the load.
    EXPECT_EQ(m_window->GetCurSel(IDC_RF_BAUD_DEF), 0);
    EXPECT_EQ(Text(IDC_BACKOFF_TICK), "108");
}

// A build with the Advanced panel hidden: the data-rate defaults replace whatever the hidden
// timing fields hold, before any check sees them.
TEST_F(MainWindow, HiddenPanelBuildOverwritesTheTimingFieldsWithTheDefaults) {
    m_window->Select(IDC_RF_BAUD_DEF, k19200);
    m_window->Type(IDC_BACKOFF_TICK, "0");
    m_window->Type(IDC_COMPENSATION_UNIT, "999");
    m_window->Type(IDC_SYNC_DURATION, "1");
    m_window->Type(IDC_CCA_THRESHOLD, "5");
    m_window->Type(IDC_MAIN_CHANNEL, "7");

    ASSERT_TRUE(m_window->Click(IDC_APPLY));

    EXPECT_TRUE(Boxes().empty()) << Boxes().front().text;
    EXPECT_EQ(Text(IDC_BACKOFF_TICK), "1092");
    EXPECT_EQ(Text(IDC_COMPENSATION_UNIT), "200");
    EXPECT_EQ(Text(IDC_SYNC_DURATION), "25");
    EXPECT_EQ(Text(IDC_CCA_THRESHOLD), "-75");
    // The main channel was encoded before the defaults ran, so the frame still carries 7.
    EXPECT_EQ(Text(IDC_MAIN_CHANNEL), "7");
}

// The same build with the panel shown: the entered timing values are encoded as they stand.
TEST_F(MainWindow, ShownPanelBuildEncodesTheEnteredTimingFields) {
    m_window->Select(IDC_RF_BAUD_DEF, k19200);
    ASSERT_TRUE(m_window->Click(IDC_ADVANCED));
    m_window->Type(IDC_BACKOFF_TICK, "500");
    m_window->Type(IDC_COMPENSATION_UNIT, "50");
    m_window->Type(IDC_SYNC_DURATION, "30");
    m_window->Type(IDC_CCA_THRESHOLD, "-80");
    m_window->Type(IDC_MAIN_CHANNEL, "7");

    ASSERT_TRUE(m_window->Click(IDC_APPLY));

    // 500 us at 26 MHz is carried as mantissa 102, exponent 0, which reads back as 502 us.
    EXPECT_EQ(Text(IDC_BACKOFF_TICK), "502");
    EXPECT_EQ(Text(IDC_COMPENSATION_UNIT), "50");
    EXPECT_EQ(Text(IDC_SYNC_DURATION), "30");
    EXPECT_EQ(Text(IDC_CCA_THRESHOLD), "-80");
    EXPECT_EQ(Text(IDC_MAIN_CHANNEL), "7");
}

TEST_F(MainWindow, ShownPanelBuildChecksTheEnteredTimingFields) {
    m_window->Select(IDC_RF_BAUD_DEF, k19200);
    m_window->Click(IDC_ADVANCED);
    m_window->Type(IDC_COMPENSATION_UNIT, "999");
    ASSERT_TRUE(m_window->Click(IDC_APPLY));
    ASSERT_EQ(Boxes().size(), 1U);
    EXPECT_EQ(Boxes()[0].text,
              "Compensation Uint is equal to 999ticks which is beyond the scope [1ticks ~ "
              "255ticks], it will be automatically adjusted to 255ticks!");
    EXPECT_EQ(Text(IDC_COMPENSATION_UNIT), "255");
}

}  // namespace
