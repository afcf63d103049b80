#include "resources/about_dialog_template.h"
#include "tests/ui/main_window_fixture.h"

namespace {

constexpr int kAboutTemplate = 100;

class MainWindowRun : public ::testing::Test {
  protected:
    HeadlessBackend m_backend;
    CLVCfgDlg m_dlg{m_backend, LVCfgDlgServices{kFixedNow}};
};

TEST_F(MainWindowRun, EnterInAnEditWithValidContentsEndsWithoutReport) {
    m_backend.Script([](HeadlessWindow& window) {
        window.Type(IDC_NETWORK_ID, "4660");
        window.PressEnter();
    });
    m_backend.Script([](HeadlessWindow&) { FAIL() << "the dialog should have ended"; });
    EXPECT_EQ(m_dlg.DoModal(), IDOK);
    EXPECT_TRUE(m_backend.MessageBoxes().empty());
    EXPECT_EQ(m_dlg.m_nNetworkId, 4660);
    EXPECT_TRUE(m_backend.Windows().empty());
}

TEST_F(MainWindowRun, EnterWithAnUnparsableNumberPromptsAndKeepsTheWindow) {
    bool openAfterPrompt = false;
    m_backend.Script([](HeadlessWindow& window) {
        window.Type(IDC_START_FREQ, "x");
        window.PressEnter();
    });
    m_backend.Script([&](HeadlessWindow& window) {
        openAfterPrompt = window.InModalLoop();
        EXPECT_EQ(window.Focus(), IDC_START_FREQ);
        window.PressEscape();
    });
    EXPECT_EQ(m_dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(openAfterPrompt);
    ASSERT_EQ(m_backend.MessageBoxes().size(), 1U);
    EXPECT_EQ(m_backend.MessageBoxes()[0].text, "请输入一个数字。");
}

TEST_F(MainWindowRun, EnterOnAFocusedButtonClicksIt) {
    m_backend.Script([](HeadlessWindow& window) {
        window.Click(IDC_ADVANCED);
        window.PressEnter();  // the focus is on "Advanced<<" now: it toggles back
        EXPECT_EQ(window.GetText(IDC_ADVANCED), "Advanced>>");
        EXPECT_TRUE(window.InModalLoop());
        window.PressEscape();
    });
    EXPECT_EQ(m_dlg.DoModal(), IDCANCEL);
}

TEST_F(MainWindowRun, EscapeEndsAtOnceWithoutExchange) {
    m_backend.Script([](HeadlessWindow& window) {
        window.Type(IDC_NETWORK_ID, "abc");
        window.PressEscape();
    });
    EXPECT_EQ(m_dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(m_backend.MessageBoxes().empty());
    EXPECT_EQ(m_dlg.m_nNetworkId, 0);
}

TEST_F(MainWindowRun, AboutItemOpensTheAboutBoxOverTheMainWindowEachTime) {
    std::vector<const HeadlessWindow*> aboutBoxes;
    const DialogWindow* mainWindow = nullptr;
    const auto openAbout = [&](HeadlessWindow& window) {
        mainWindow = &window;
        window.ChooseSystemMenu(16);
        EXPECT_EQ(m_backend.FindWindow(kAboutTemplate), nullptr) << "closed again";
    };
    const auto inAbout = [&](HeadlessWindow& window) {
        EXPECT_EQ(window.Template().id, kAboutTemplate);
        EXPECT_EQ(window.Template().caption, "About Lumivaro Configure Tool");
        EXPECT_EQ(window.Owner(), mainWindow);
        EXPECT_EQ(window.Focus(), IDOK);
        EXPECT_EQ(window.GetText(IDOK), "OK");
        aboutBoxes.push_back(&window);
    };
    m_backend.Script(openAbout);
    m_backend.Script([&](HeadlessWindow& window) {
        inAbout(window);
        window.PressEnter();
    });
    m_backend.Script(openAbout);
    m_backend.Script([&](HeadlessWindow& window) {
        inAbout(window);
        window.PressEscape();
    });
    m_backend.Script([&](HeadlessWindow& window) {
        EXPECT_EQ(window.Template().id, 102);
        window.PressEscape();
    });
    EXPECT_EQ(m_dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(aboutBoxes.size(), 2U);
    EXPECT_TRUE(m_backend.MessageBoxes().empty());
    EXPECT_EQ(m_backend.PendingActions(), 0U);
}

TEST_F(MainWindow, AboutCommandIgnoresTheLowFourBits) {
    int opened = 0;
    m_backend.Script([&](HeadlessWindow& window) {
        opened += window.Template().id == kAboutTemplate ? 1 : 0;
        window.PressEscape();
    });
    m_dlg.OnSysCommand(0x0013);
    EXPECT_EQ(opened, 1);
}

TEST_F(MainWindow, OtherWindowCommandsOpenNothing) {
    m_dlg.OnSysCommand(0x0020);
    m_dlg.OnSysCommand(0xF010);  // move
    EXPECT_EQ(m_backend.Windows().size(), 1U);
}

}  // namespace
