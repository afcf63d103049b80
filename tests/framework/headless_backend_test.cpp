#include "tests/support/headless_backend.h"

#include <gtest/gtest.h>

#include "tests/framework/test_dialog.h"

namespace {

using namespace test_dialog;

using HeadlessUser = CreatedTestDialog;

// What the window holds and does as any window does is the window contract
// (headless_window_contract_test.cpp); here is what only the headless window offers tests.

TEST_F(HeadlessUser, BuildsControlsAndListsFromTheTemplate) {
    EXPECT_EQ(m_window->ControlIds(), (std::vector<int>{10, 11, 12, 13, 14, 15, 16}));
    EXPECT_EQ(m_window->Items(kList), (std::vector<std::string>{"a", "b", "c"}));
}

TEST_F(HeadlessUser, WrongKindsOfActionAreRefused) {
    EXPECT_FALSE(m_window->Type(kList, "b"));
    EXPECT_FALSE(m_window->Click(kText));
    EXPECT_FALSE(m_window->Select(kList, 3));
    EXPECT_FALSE(m_window->Select(999, 0));
}

TEST_F(HeadlessUser, BoxHandlersRunWhileTheirBoxIsOpenInOrder) {
    std::vector<std::string> seen;
    m_backend.WhileNextBoxOpen([&](const MessageBoxRecord& box) {
        seen.push_back("open " + box.text);
        m_dialog.MessageBox("nested", "c", MB_ICONEXCLAMATION);
    });
    m_backend.WhileNextBoxOpen(
        [&](const MessageBoxRecord& box) { seen.push_back("open " + box.text); });
    m_dialog.MessageBox("outer", "c", MB_ICONERROR);
    m_dialog.MessageBox("third", "c", MB_ICONERROR);
    EXPECT_EQ(seen, (std::vector<std::string>{"open outer", "open nested"}));
    ASSERT_EQ(m_backend.MessageBoxes().size(), 3U);
    EXPECT_EQ(m_backend.MessageBoxes()[1].text, "nested");
}

TEST_F(HeadlessUser, FileChoosersAreAnsweredFromTheScriptThenCancelled) {
    m_backend.AnswerNextFileChooser("/tmp/a.cfg");
    m_backend.AnswerNextFileChooser(std::nullopt);
    FileChooserRequest request;
    request.save = true;
    request.initialName = "*.cfg";
    EXPECT_EQ(m_window->ChooseFile(request), "/tmp/a.cfg");
    EXPECT_EQ(m_window->ChooseFile(request), std::nullopt);
    EXPECT_EQ(m_window->ChooseFile(request), std::nullopt);
    ASSERT_EQ(m_backend.FileChooserRequests().size(), 3U);
    EXPECT_TRUE(m_backend.FileChooserRequests().front().save);
    EXPECT_EQ(m_backend.FileChooserRequests().front().initialName, "*.cfg");
}

TEST_F(HeadlessUser, ReadableWatcherFiresOnDemandOnly) {
    EXPECT_FALSE(m_window->FireReadable());
    int calls = 0;
    m_window->WatchReadable(17, [&] { ++calls; });
    EXPECT_EQ(m_window->WatchedFd(), 17);
    EXPECT_EQ(calls, 0);
    EXPECT_TRUE(m_window->FireReadable());
    EXPECT_EQ(calls, 1);
}

TEST_F(HeadlessUser, TabSkipsDisabledControls) {
    m_window->SetFocus(kText);
    m_dialog.GetDlgItem(kCheck).EnableWindow(false);
    m_window->PressTab();
    EXPECT_EQ(m_window->Focus(), kReal);
}

TEST_F(HeadlessUser, UnknownIdsAreCountedNotFatal) {
    m_dialog.SetDlgItemText(4242, "x");
    EXPECT_EQ(m_window->GetText(4242), "");
    EXPECT_EQ(m_window->UnknownIdAccesses(), 2);
}

}  // namespace
