#include <array>

#include "tests/support/report_texts.h"
#include "tests/ui/main_window_fixture.h"

namespace {

using report_text::kCaption;

class ReportFormsOnMainWindow : public MainWindow {
  protected:
    void SetUp() override {
        MainWindow::SetUp();
        m_dlg.SetDlgItemText(IDC_STATUS, "earlier");
    }
    // The status line as it stood while the next box was open.
    void WatchStatusDuringNextBox() {
        m_backend.WhileNextBoxOpen(
            [this](const MessageBoxRecord&) { m_statusDuringBox = Text(IDC_STATUS); });
    }
    std::string m_statusDuringBox;
};

TEST_F(ReportFormsOnMainWindow, StatusReportReplacesTheStatusLineOnly) {
    m_dlg.Reports().StatusReport("Succeed to read the module!");
    EXPECT_EQ(Text(IDC_STATUS), "Succeed to read the module!");
    EXPECT_TRUE(Boxes().empty());
    m_dlg.Reports().StatusReport("Module is inserted into COM3");
    EXPECT_EQ(Text(IDC_STATUS), "Module is inserted into COM3");
}

TEST_F(ReportFormsOnMainWindow, FailureReportShowsTheStatusBeforeTheErrorBoxAndKeepsIt) {
    WatchStatusDuringNextBox();
    m_dlg.Reports().FailureReport("Failed to open the COM port!");
    EXPECT_EQ(m_statusDuringBox, "Failed to open the COM port!");
    EXPECT_EQ(Text(IDC_STATUS), "Failed to open the COM port!");
    ASSERT_EQ(Boxes().size(), 1U);
    EXPECT_EQ(Boxes()[0].text, "Failed to open the COM port!");
    EXPECT_EQ(Boxes()[0].caption, kCaption);
    EXPECT_EQ(Boxes()[0].type, 0x10U);
    EXPECT_EQ(Boxes()[0].ownerTemplateId, 102);
}

TEST_F(ReportFormsOnMainWindow, ErrorBoxLeavesTheStatusLine) {
    WatchStatusDuringNextBox();
    m_dlg.Reports().ErrorBox("Please choose a serial COM port!");
    EXPECT_EQ(m_statusDuringBox, "earlier");
    EXPECT_EQ(Text(IDC_STATUS), "earlier");
    ASSERT_EQ(Boxes().size(), 1U);
    EXPECT_EQ(Boxes()[0].caption, kCaption);
    EXPECT_EQ(Boxes()[0].type, 0x10U);
}

TEST_F(ReportFormsOnMainWindow, WarningBoxLeavesTheStatusLine) {
    m_dlg.Reports().WarningBox("Network ID is equal to 70000");
    EXPECT_EQ(Text(IDC_STATUS), "earlier");
    ASSERT_EQ(Boxes().size(), 1U);
    EXPECT_EQ(Boxes()[0].text, "Network ID is equal to 70000");
    EXPECT_EQ(Boxes()[0].caption, kCaption);
    EXPECT_EQ(Boxes()[0].type, 0x30U);
}

TEST_F(ReportFormsOnMainWindow, CodecWarningsAreWarningBoxes) {
    m_window->Type(IDC_NETWORK_ID, "70000");
    m_dlg.OnApply();
    ASSERT_EQ(Boxes().size(), 1U);
    EXPECT_EQ(Boxes()[0].type, 0x30U);
    EXPECT_EQ(Boxes()[0].caption, kCaption);
    EXPECT_EQ(Text(IDC_STATUS), "earlier");
}

TEST_F(ReportFormsOnMainWindow, ReportMadeWhileABoxIsOpenLandsAtOnce) {
    m_backend.WhileNextBoxOpen([this](const MessageBoxRecord&) {
        m_dlg.Reports().StatusReport("Module is inserted into COM4");
    });
    m_dlg.Reports().FailureReport("Module does not response!");
    EXPECT_EQ(Text(IDC_STATUS), "Module is inserted into COM4");
}

TEST_F(MainWindow, RfPowerListIsRefilledForTheCodec) {
    static constexpr std::array<const char*, 8> kTwentyDbm{"+20dBm", "+17dBm", "+15dBm", "+10dBm",
                                                           "+05dBm", "+00dBm", "-05dBm", "-10dBm"};
    ConfigFrame frame = m_dlg.m_workFrame;
    frame[FrameOffset::kPowerClass] = '2';
    frame[FrameOffset::kRfPower] = 9;  // past the list: nothing is chosen
    m_dlg.DecodeFrame(frame);
    EXPECT_EQ(m_window->Items(IDC_RF_POWER),
              (std::vector<std::string>(kTwentyDbm.begin(), kTwentyDbm.end())));
    EXPECT_EQ(m_window->GetCurSel(IDC_RF_POWER), CB_ERR);
}

}  // namespace
