#include "ui/framework/cwinapp.h"

#include <gtest/gtest.h>

#include "tests/framework/test_dialog.h"
#include "tests/support/headless_backend.h"

namespace {

TEST(ApplicationTitle, IsTheExecutableNameWithoutFoldersOrExtension) {
    EXPECT_EQ(TitleFromExecutablePath("/usr/local/bin/lvcfg"), "lvcfg");
    EXPECT_EQ(TitleFromExecutablePath("lvcfg"), "lvcfg");
    EXPECT_EQ(TitleFromExecutablePath("./build/lvcfg.exe"), "lvcfg");
    EXPECT_EQ(TitleFromExecutablePath("/opt/tool.d/lvcfg"), "lvcfg");
    EXPECT_EQ(TitleFromExecutablePath("/home/u/.hidden"), ".hidden");
}

// Runs one modal dialog as the main window, as the real application does.
class OneDialogApp : public CWinApp {
  public:
    using CWinApp::CWinApp;
    bool InitInstance() override {
        ++m_initCalls;
        TestDialog dialog(Backend());
        m_pMainWnd = &dialog;
        m_result = dialog.DoModal();
        m_pMainWnd = nullptr;
        return false;
    }
    int m_initCalls = 0;
    int m_result = 0;
};

TEST(Application, RunHandsTheTitleToTheBackendAndCallsInitInstanceOnce) {
    HeadlessBackend backend("unset");
    OneDialogApp app;
    backend.Script([](HeadlessWindow& window) {
        window.Type(test_dialog::kInteger, "x");
        window.PressEnter();
    });
    EXPECT_EQ(app.Run(backend, "/usr/bin/lvcfg"), 0);
    EXPECT_EQ(app.m_initCalls, 1);
    EXPECT_EQ(app.AppName(), "lvcfg");
    EXPECT_EQ(backend.ApplicationTitle(), "lvcfg");
    EXPECT_EQ(app.m_result, IDCANCEL);  // the script ran out after the prompt
    ASSERT_EQ(backend.MessageBoxes().size(), 1U);
    EXPECT_EQ(backend.MessageBoxes().front().caption, "lvcfg");
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

TEST(Application, GivenNameWinsOverTheExecutableName) {
    HeadlessBackend backend;
    CWinApp app("Named");
    EXPECT_EQ(app.Run(backend, "/usr/bin/lvcfg"), 0);
    EXPECT_EQ(backend.ApplicationTitle(), "Named");
}

}  // namespace
