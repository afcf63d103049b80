#include <array>
#include <string>

#include "tests/ui/main_window_fixture.h"

namespace {

int Height(const CRect& rect) {
    return rect.Height();
}

TEST_F(MainWindow, AdvancedShowsTheFullWindowThenHidesTheStripAgain) {
    const int shrunk = Height(m_window->GetWindowRect());
    const int width = m_window->GetWindowRect().Width();

    EXPECT_TRUE(m_window->Click(IDC_ADVANCED));
    EXPECT_EQ(Height(m_window->GetWindowRect()), shrunk + 93);
    EXPECT_EQ(m_window->GetWindowRect().Width(), width);
    EXPECT_EQ(Text(IDC_ADVANCED), "Advanced<<");
    EXPECT_EQ(m_dlg.m_bAdvancedShown, 1);

    EXPECT_TRUE(m_window->Click(IDC_ADVANCED));
    EXPECT_EQ(Height(m_window->GetWindowRect()), shrunk);
    EXPECT_EQ(Text(IDC_ADVANCED), "Advanced>>");
    EXPECT_EQ(m_dlg.m_bAdvancedShown, 0);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(MainWindow, AdvancedSizesFromTheInitialRectangleNotTheCurrentSize) {
    m_dlg.SetWindowPos(700, 450);  // "Advanced>>" stays in sight
    m_window->Click(IDC_ADVANCED);
    EXPECT_EQ(m_window->GetWindowRect().Width(), m_dlg.m_rcFull.right - m_dlg.m_rcFull.left);
    EXPECT_EQ(Height(m_window->GetWindowRect()), m_dlg.m_rcFull.bottom - m_dlg.m_rcFull.top);
}

TEST_F(MainWindow, AutoConfigLeavesOnlyItselfAndTheStatusLineEnabled) {
    ASSERT_TRUE(m_window->Click(IDC_AUTO_CONFIG));
    EXPECT_EQ(m_dlg.m_bAutoConfig, 1);
    EXPECT_TRUE(m_window->IsControlEnabled(IDC_AUTO_CONFIG));
    EXPECT_TRUE(m_window->IsControlEnabled(IDC_STATUS));
    for (int id = 1002; id <= 1063; ++id) {
        EXPECT_FALSE(m_window->IsControlEnabled(id)) << id;
    }
    EXPECT_FALSE(m_window->Click(IDC_READ)) << "a disabled button takes no click";

    ASSERT_TRUE(m_window->Click(IDC_AUTO_CONFIG));
    EXPECT_EQ(m_dlg.m_bAutoConfig, 0);
    for (int id = 1000; id <= 1063; ++id) {
        EXPECT_TRUE(m_window->IsControlEnabled(id)) << id;
    }
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(MainWindow, EditingSwitchRunsAscendingOverItsRangeOnly) {
    m_window->ClearLogs();
    m_dlg.EnableEditing(false);
    std::vector<std::pair<int, bool>> expected;
    for (int id = 1002; id <= 1063; ++id) {
        expected.emplace_back(id, false);
    }
    EXPECT_EQ(m_window->EnableLog(), expected);
    EXPECT_EQ(m_window->UnknownIdAccesses(), 0);
}

TEST_F(MainWindow, AutoConfigWithUnparsableNetworkIdPromptsAndStillLocks) {
    m_window->Type(IDC_NETWORK_ID, "abc");
    ASSERT_TRUE(m_window->Click(IDC_AUTO_CONFIG));
    ASSERT_EQ(Boxes().size(), 1U);
    EXPECT_EQ(Boxes()[0].text, "请输入一个整数。");
    EXPECT_EQ(Boxes()[0].caption, "lvcfg");
    EXPECT_EQ(m_dlg.m_bAutoConfig, 1);
    for (int id = 1002; id <= 1063; ++id) {
        EXPECT_FALSE(m_window->IsControlEnabled(id)) << id;
    }
    EXPECT_TRUE(m_window->IsControlEnabled(IDC_AUTO_CONFIG));
}

TEST_F(MainWindow, ApplyAdjustsAnOutOfRangeStartFrequencyAndShowsItAsTheFrameCarriesIt) {
    m_dlg.SetDlgItemText(IDC_STATUS, "before");
    m_window->Type(IDC_START_FREQ, "500");
    ASSERT_TRUE(m_window->Click(IDC_APPLY));

    ASSERT_EQ(Boxes().size(), 1U);
    EXPECT_EQ(Boxes()[0].text,
              "Start Frequency is equal to 500.0000MHz which is beyond the scope [410.0000MHz ~ "
              "480.0000MHz], it will be automatically adjusted to 480.0000MHz!");
    EXPECT_EQ(Boxes()[0].caption, "Lumivaro Configure Tool");
    EXPECT_EQ(Boxes()[0].type, 0x30U);
    EXPECT_EQ(Text(IDC_START_FREQ), "479.999847412109");
    EXPECT_EQ(Text(IDC_STATUS), "before");
}

TEST_F(MainWindow, ApplyShowsTheDataRateDefaultsWhileThePanelIsHidden) {
    ASSERT_TRUE(m_window->Click(IDC_APPLY));
    EXPECT_TRUE(Boxes().empty());
    // "500kbps" at 26 MHz as a frame carries it.
    EXPECT_EQ(Text(IDC_BACKOFF_TICK), "108");
    EXPECT_EQ(Text(IDC_CCA_THRESHOLD), "-74");
    EXPECT_EQ(Text(IDC_AUTO_WAKE_SLOT), "15");
    EXPECT_EQ(Text(IDC_BEACON_DURATION), "35");
    EXPECT_EQ(Text(IDC_COMPENSATION_UNIT), "200");
    EXPECT_EQ(Text(IDC_SYNC_DURATION), "25");
    EXPECT_EQ(Text(IDC_START_FREQ), "432.999816894531");  // 1091426 × 26 MHz / 65536
}

TEST_F(MainWindow, ApplyShowsTheAdjustedValue) {
    m_window->Type(IDC_NETWORK_ID, "70000");
    m_window->Click(IDC_APPLY);
    EXPECT_EQ(Text(IDC_NETWORK_ID), "65535");
}

// The nine fields of the advanced panel, which the shortened window cuts off.
constexpr std::array kAdvancedFields{
    IDC_CCA_THRESHOLD,   IDC_BACKOFF_TICK,   IDC_AUTO_SLEEP_TIMEOUT,
    IDC_TIMEOUT_DOWN,    IDC_TIMEOUT_UP,     IDC_SYNC_DURATION,
    IDC_BEACON_DURATION, IDC_AUTO_WAKE_SLOT, IDC_COMPENSATION_UNIT};

TEST_F(MainWindow, FieldsOfTheCutOffPanelTakeNoFocusAndNoTyping) {
    for (int id : kAdvancedFields) {
        const std::string before = Text(id);
        EXPECT_FALSE(m_window->Type(id, "1")) << id;
        m_window->SetFocus(id);
        EXPECT_NE(m_window->Focus(), id) << id;
        EXPECT_EQ(Text(id), before) << id;
    }
    ASSERT_TRUE(m_window->Click(IDC_ADVANCED));
    for (int id : kAdvancedFields) {
        EXPECT_TRUE(m_window->Type(id, "1")) << id;
        EXPECT_EQ(m_window->Focus(), id) << id;
    }
}

// A field that does not parse while the panel is cut off prompts, then the panel opens as
// "Advanced>>" opens it and the field takes the focus with its text selected.
TEST_F(MainWindow, UnparsableFieldOfTheCutOffPanelOpensThePanelAndTakesTheFocus) {
    ASSERT_TRUE(m_window->Click(IDC_ADVANCED));
    ASSERT_TRUE(m_window->Type(IDC_BACKOFF_TICK, "x"));
    ASSERT_TRUE(m_window->Click(IDC_ADVANCED));
    const int shrunk = m_window->GetWindowRect().Height();
    ASSERT_TRUE(m_window->Type(IDC_NETWORK_ID, "12"));
    EXPECT_FALSE(m_dlg.UpdateData(true));
    ASSERT_EQ(Boxes().size(), 1U);
    EXPECT_TRUE(m_dlg.m_bAdvancedShown);
    EXPECT_EQ(Text(IDC_ADVANCED), "Advanced<<");
    EXPECT_EQ(m_window->GetWindowRect().Height(), shrunk + 93);
    EXPECT_EQ(m_window->Focus(), IDC_BACKOFF_TICK);
    EXPECT_EQ(m_window->TextSelection(IDC_BACKOFF_TICK), (std::pair<int, int>{0, 1}));
}

struct FileKey {
    const char* keys;
    bool save;
};

class FileCommandKey : public MainWindow, public ::testing::WithParamInterface<FileKey> {};

TEST_P(FileCommandKey, RunsItsCommandUnlessAutoConfigLocksIt) {
    EXPECT_TRUE(m_window->PressShortcut(GetParam().keys));
    ASSERT_EQ(m_backend.FileChooserRequests().size(), 1U);
    EXPECT_EQ(m_backend.FileChooserRequests()[0].save, GetParam().save);
    ASSERT_TRUE(m_window->Click(IDC_AUTO_CONFIG));
    EXPECT_FALSE(m_window->PressShortcut(GetParam().keys));
    EXPECT_EQ(m_backend.FileChooserRequests().size(), 1U);
}

INSTANTIATE_TEST_SUITE_P(Keys, FileCommandKey,
                         ::testing::Values(FileKey{"Ctrl+O", false}, FileKey{"Ctrl+S", true}),
                         [](const auto& info) {
                             return std::string(info.param.save ? "CtrlS" : "CtrlO");
                         });

}  // namespace
