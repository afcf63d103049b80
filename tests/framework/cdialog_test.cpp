#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "tests/framework/test_dialog.h"
#include "tests/support/headless_backend.h"

namespace {

using namespace test_dialog;

TEST(ModalDialog, EnterWithValidContentsEndsWithOk) {
    HeadlessBackend backend;
    TestDialog dialog(backend);
    backend.Script([](HeadlessWindow& window) { window.Type(kInteger, "42"); });
    backend.Script([](HeadlessWindow& window) { window.PressEnter(); });
    backend.Script([](HeadlessWindow&) { FAIL() << "the dialog should have ended"; });

    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_nFirst, 42);
    EXPECT_TRUE(backend.MessageBoxes().empty());
    EXPECT_TRUE(backend.Windows().empty()) << "the window is destroyed when the run ends";
    EXPECT_EQ(dialog.Window(), nullptr);
}

TEST(ModalDialog, EnterWithUnparsableContentsPromptsAndStaysOpen) {
    HeadlessBackend backend;
    TestDialog dialog(backend);
    bool stillOpen = false;
    backend.Script([](HeadlessWindow& window) { window.Type(kInteger, "abc"); });
    backend.Script([](HeadlessWindow& window) { window.PressEnter(); });
    backend.Script([&](HeadlessWindow& window) {
        stillOpen = window.InModalLoop();
        window.PressEscape();
    });

    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(backend.MessageBoxes().size(), 1U);
    EXPECT_EQ(backend.MessageBoxes().front().text, "请输入一个整数。");
}

TEST(ModalDialog, EscapeEndsAtOnceWithoutExchange) {
    HeadlessBackend backend;
    TestDialog dialog(backend);
    backend.Script([](HeadlessWindow& window) {
        window.Type(kInteger, "abc");
        window.PressEscape();
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(backend.MessageBoxes().empty());
    EXPECT_EQ(dialog.m_nFirst, 7);
}

TEST(ModalDialog, CloseCommandOfTheWindowMenuCancels) {
    HeadlessBackend backend;
    TestDialog dialog(backend);
    backend.Script([](HeadlessWindow& window) { window.ChooseSystemMenu(SC_CLOSE); });
    backend.Script([](HeadlessWindow& window) { window.PressEnter(); });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(backend.PendingActions(), 1U);
}

TEST(ModalDialog, EnterOnAFocusedPushButtonClicksItInsteadOfOk) {
    HeadlessBackend backend;
    TestDialog dialog(backend);
    backend.Script([](HeadlessWindow& window) {
        window.Click(kButton);
        window.PressEnter();
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);  // the script ran out, nothing ended the dialog
    EXPECT_EQ(dialog.m_buttonClicks, 2);
}

TEST(ModalDialog, ResultGivenBeforeTheLoopEndsItAtOnce) {
    class EndsInInit : public TestDialog {
      public:
        using TestDialog::TestDialog;
        bool OnInitDialog() override {
            TestDialog::OnInitDialog();
            EndDialog(IDOK);
            return true;
        }
    };
    HeadlessBackend backend;
    EndsInInit dialog(backend);
    backend.Script([](HeadlessWindow&) { FAIL() << "no action should run"; });
    EXPECT_EQ(dialog.DoModal(), IDOK);
}

TEST(ModalDialog, CanRunAgainAfterItEnded) {
    HeadlessBackend backend;
    TestDialog dialog(backend);
    backend.Script([](HeadlessWindow& window) { window.PressEscape(); });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    backend.Script([](HeadlessWindow& window) { window.PressEnter(); });
    EXPECT_EQ(dialog.DoModal(), IDOK);
}

TEST(ModalDialog, NestedDialogRunsOnTheInnermostLoopAndIsOwnedByItsParent) {
    HeadlessBackend backend;
    TestDialog outer(backend);
    int innerResult = 0;
    const DialogWindow* innerOwner = nullptr;
    backend.Script([&](HeadlessWindow&) {
        TestDialog inner(backend, &outer);
        innerResult = inner.DoModal();
    });
    backend.Script([&](HeadlessWindow& window) {
        innerOwner = window.Owner();
        window.PressEnter();
    });
    backend.Script([&](HeadlessWindow& window) {
        EXPECT_EQ(window.Owner(), nullptr);
        window.PressEscape();
    });
    EXPECT_EQ(outer.DoModal(), IDCANCEL);
    EXPECT_EQ(innerResult, IDOK);
    EXPECT_NE(innerOwner, nullptr);
}

using CreatedDialog = CreatedTestDialog;

TEST_F(CreatedDialog, FocusStartsOnTheFirstTabStop) {
    EXPECT_EQ(m_window->Focus(), kText);
}

TEST_F(CreatedDialog, GetDlgItemTextCutsToTheBufferAndTerminates) {
    m_window->Type(kText, "abcdefgh");
    std::array<char, 5> buffer{'x', 'x', 'x', 'x', 'x'};
    EXPECT_EQ(m_dialog.GetDlgItemText(kText, buffer.data(), 5), 4);
    EXPECT_STREQ(buffer.data(), "abcd");

    std::array<char, 256> full{};
    EXPECT_EQ(m_dialog.GetDlgItemText(kText, full.data(), 256), 8);
    EXPECT_STREQ(full.data(), "abcdefgh");

    char one = 'x';
    EXPECT_EQ(m_dialog.GetDlgItemText(kText, &one, 1), 0);
    EXPECT_EQ(one, '\0');
    EXPECT_EQ(m_dialog.GetDlgItemText(kText, &one, 0), 0);
}

TEST_F(CreatedDialog, GetDlgItemTextOfALongTextKeeps255Characters) {
    m_window->Type(kText, std::string(300, 'p'));
    std::array<char, 256> buffer{};
    EXPECT_EQ(m_dialog.GetDlgItemText(kText, buffer.data(), 256), 255);
    EXPECT_EQ(std::strlen(buffer.data()), 255U);
}

TEST_F(CreatedDialog, SetDlgItemTextReplacesAtOnce) {
    m_dialog.SetDlgItemText(kText, "new");
    EXPECT_EQ(m_window->GetText(kText), "new");
    m_dialog.SetDlgItemText(kButton, "Stop");
    EXPECT_EQ(m_window->GetText(kButton), "Stop");
}

TEST_F(CreatedDialog, ListMessagesEmptyAndAppend) {
    m_dialog.GetDlgItem(kList).SendMessage(CB_RESETCONTENT);
    EXPECT_TRUE(m_window->Items(kList).empty());
    EXPECT_EQ(m_window->GetCurSel(kList), CB_ERR);
    m_dialog.GetDlgItem(kList).SendMessage(CB_ADDSTRING, "x");
    m_dialog.GetDlgItem(kList).SendMessage(CB_ADDSTRING, "y");
    EXPECT_EQ(m_window->Items(kList), (std::vector<std::string>{"x", "y"}));
}

TEST_F(CreatedDialog, EnableWindowSwitchesTheControl) {
    m_dialog.GetDlgItem(kReal).EnableWindow(false);
    EXPECT_FALSE(m_window->IsControlEnabled(kReal));
    m_dialog.GetDlgItem(kReal).EnableWindow(true);
    EXPECT_TRUE(m_window->IsControlEnabled(kReal));
}

TEST_F(CreatedDialog, WindowSizeChangesKeepThePosition) {
    CRect rect;
    m_dialog.GetWindowRect(&rect);
    EXPECT_EQ(rect.Width(), 152);  // 101 dialog units at 1.5 px, rounded
    EXPECT_EQ(rect.Height(), 92);
    m_dialog.SetWindowPos(rect.Width(), rect.Height() - 20);
    CRect after;
    m_dialog.GetWindowRect(&after);
    EXPECT_EQ(after.left, rect.left);
    EXPECT_EQ(after.top, rect.top);
    EXPECT_EQ(after.Height(), rect.Height() - 20);
}

TEST_F(CreatedDialog, MessageBoxReachesTheOwnerWindow) {
    EXPECT_EQ(m_dialog.MessageBox("text", "caption", MB_ICONERROR), IDOK);
    ASSERT_EQ(m_backend.MessageBoxes().size(), 1U);
    EXPECT_EQ(m_backend.MessageBoxes().front().ownerTemplateId, kTemplateId);
    EXPECT_EQ(m_backend.MessageBoxes().front().type, MB_ICONERROR);
}

TEST(DialogWithoutWindow, ControlOperationsAreHarmless) {
    HeadlessBackend backend;
    TestDialog dialog(backend);
    std::array<char, 8> buffer{'x'};
    EXPECT_EQ(dialog.GetDlgItemText(kText, buffer.data(), 8), 0);
    EXPECT_STREQ(buffer.data(), "");
    dialog.SetDlgItemText(kText, "x");
    dialog.GetDlgItem(kList).SendMessage(CB_ADDSTRING, "x");
    dialog.GetDlgItem(kList).EnableWindow(false);
    EXPECT_EQ(dialog.MessageBox("t", "c", 0), 0);
    CRect rect{1, 2, 3, 4};
    dialog.GetWindowRect(&rect);
    EXPECT_EQ(rect.Width(), 0);
    EXPECT_TRUE(backend.MessageBoxes().empty());
}

}  // namespace
