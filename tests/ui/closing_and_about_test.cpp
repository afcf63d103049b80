#include "resources/about_dialog_template.h"
#include "tests/ui/main_window_fixture.h"

namespace {

constexpr int kAboutTemplate = 100;

class MainWindowRun : public ::testing::Test {
  protected:
    HeadlessBackend m_backend;
    CLVCfgDlg m_dlg{m_backend, LVCfgDlgServices{kFixedNow}};
};

// Enter and Escape never end the main window: a stray key must not throw away the settings
// on screen. Neither runs an exchange, so no prompt appears either.
struct StrayKey {
    const char* name;
    int field;
    const char* text;
    void (HeadlessWindow::*press)();
};

class StrayKeyInMainWindow : public MainWindowRun,
                             public ::testing::WithParamInterface<StrayKey> {};

TEST_P(StrayKeyInMainWindow, LeavesTheWindowOpenWithoutExchangeOrPrompt) {
    const StrayKey& key = GetParam();
    bool stillOpen = false;
    m_backend.Script([&](HeadlessWindow& window) {
        window.Type(key.field, key.text);
        (window.*key.press)();
    });
    m_backend.Script([&](HeadlessWindow& window) {
        stillOpen = window.InModalLoop();
        EXPECT_EQ(window.Focus(), key.field);
        window.CloseWindow();
    });
    EXPECT_EQ(m_dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(m_backend.MessageBoxes().empty());
    EXPECT_EQ(m_dlg.Settings().m_nNetworkId, 0);
    EXPECT_EQ(m_backend.PendingActions(), 0U);
}

INSTANTIATE_TEST_SUITE_P(Keys, StrayKeyInMainWindow,
                         ::testing::Values(StrayKey{"EnterWithValidNumber", IDC_NETWORK_ID, "4660",
                                                    &HeadlessWindow::PressEnter},
                                           StrayKey{"EnterWithUnparsableNumber", IDC_START_FREQ,
                                                    "x", &HeadlessWindow::PressEnter},
                                           StrayKey{"EscapeWithValidNumber", IDC_NETWORK_ID, "4660",
                                                    &HeadlessWindow::PressEscape},
                                           StrayKey{"EscapeWithUnparsableNumber", IDC_NETWORK_ID,
                                                    "abc", &HeadlessWindow::PressEscape}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowRun, EnterOnAFocusedButtonClicksIt) {
    m_backend.Script([](HeadlessWindow& window) {
        window.Click(IDC_ADVANCED);
        window.PressEnter();  // the focus is on "Advanced<<" now: it toggles back
        EXPECT_EQ(window.GetText(IDC_ADVANCED), "Advanced>>");
        EXPECT_TRUE(window.InModalLoop());
        window.CloseWindow();
    });
    EXPECT_EQ(m_dlg.DoModal(), IDCANCEL);
}

TEST_F(MainWindowRun, CloseBoxEndsAtOnceWithoutExchange) {
    m_backend.Script([](HeadlessWindow& window) {
        window.Type(IDC_NETWORK_ID, "abc");
        window.CloseWindow();
    });
    m_backend.Script([](HeadlessWindow&) { FAIL() << "the dialog should have ended"; });
    EXPECT_EQ(m_dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(m_backend.MessageBoxes().empty());
    EXPECT_EQ(m_dlg.Settings().m_nNetworkId, 0);
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
        window.CloseWindow();
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
