#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "tests/framework/test_dialog.h"
#include "tests/support/headless_backend.h"
#include "ui/framework/framework_prompts.h"

namespace {

using namespace test_dialog;

using DataExchange = CreatedTestDialog;

TEST_F(DataExchange, CreationShowsEveryField) {
    EXPECT_EQ(m_window->GetCheck(kCheck), BST_UNCHECKED);
    EXPECT_EQ(m_window->GetText(kText), "name");
    EXPECT_EQ(m_window->GetText(kReal), "1.5");
    EXPECT_EQ(m_window->GetText(kInteger), "7");
    EXPECT_EQ(m_window->GetText(kSecondInteger), "8");
    EXPECT_EQ(m_window->GetCurSel(kList), 1);
    EXPECT_EQ(m_window->UnknownIdAccesses(), 0);
}

TEST_F(DataExchange, SaveReadsEveryKind) {
    m_window->Click(kCheck);
    m_window->Type(kText, "hello");
    m_window->Type(kReal, "4.5e2");
    m_window->Type(kInteger, "12abc");
    m_window->Type(kSecondInteger, "  -5");
    m_window->Select(kList, 2);

    EXPECT_TRUE(m_dialog.UpdateData(true));
    EXPECT_EQ(m_dialog.m_bFlag, 1);
    EXPECT_EQ(m_dialog.m_strName, "hello");
    EXPECT_DOUBLE_EQ(m_dialog.m_dValue, 450.0);
    EXPECT_EQ(m_dialog.m_nFirst, 12);
    EXPECT_EQ(m_dialog.m_nSecond, -5);
    EXPECT_EQ(m_dialog.m_iChoice, 2);
    EXPECT_TRUE(m_backend.MessageBoxes().empty());
}

TEST_F(DataExchange, TextStopsAtItsFirstNul) {
    m_window->Type(kText, std::string("ab\0cd", 5));
    EXPECT_TRUE(m_dialog.UpdateData(true));
    EXPECT_EQ(m_dialog.m_strName, "ab");
}

TEST_F(DataExchange, LoadOfAnOutOfRangeCheckValueShowsUncheckedAndClearsTheField) {
    m_dialog.m_bFlag = 5;
    m_dialog.UpdateData(false);
    EXPECT_EQ(m_window->GetCheck(kCheck), BST_UNCHECKED);
    EXPECT_EQ(m_dialog.m_bFlag, 0);

    m_dialog.m_bFlag = -1;
    m_dialog.UpdateData(false);
    EXPECT_EQ(m_dialog.m_bFlag, 0);
}

TEST_F(DataExchange, IndeterminateCheckStateTravelsBothWays) {
    m_dialog.m_bFlag = 2;
    m_dialog.UpdateData(false);
    EXPECT_EQ(m_window->GetCheck(kCheck), BST_INDETERMINATE);
    m_dialog.m_bFlag = 0;
    EXPECT_TRUE(m_dialog.UpdateData(true));
    EXPECT_EQ(m_dialog.m_bFlag, 2);
}

TEST_F(DataExchange, ListIndexOutsideTheListSelectsNothingAndReadsBackMinusOne) {
    for (const int index : {3, 9, -1, -7}) {
        m_dialog.m_iChoice = index;
        m_dialog.UpdateData(false);
        EXPECT_EQ(m_window->GetCurSel(kList), CB_ERR) << index;
        EXPECT_TRUE(m_dialog.UpdateData(true));
        EXPECT_EQ(m_dialog.m_iChoice, -1) << index;
    }
}

TEST_F(DataExchange, LoadPrintsRealsAtFifteenDigits) {
    m_dialog.m_dValue = 479.999847412109375;
    m_dialog.UpdateData(false);
    EXPECT_EQ(m_window->GetText(kReal), "479.999847412109");
}

struct FailingText {
    const char* name;
    int id;
    std::string text;
    std::string_view prompt;
};

class FailingBinding : public DataExchange, public ::testing::WithParamInterface<FailingText> {};

TEST_P(FailingBinding, PromptsFocusesSelectsAndStops) {
    const FailingText& row = GetParam();
    m_window->Type(kText, "changed");
    m_window->Type(row.id, row.text);
    m_window->Type(kSecondInteger, "99");
    m_window->Select(kList, 0);
    int focusWhileOpen = 0;
    m_backend.WhileNextBoxOpen(
        [&](const MessageBoxRecord&) { focusWhileOpen = m_window->Focus(); });

    EXPECT_FALSE(m_dialog.UpdateData(true));

    ASSERT_EQ(m_backend.MessageBoxes().size(), 1U);
    const MessageBoxRecord& box = m_backend.MessageBoxes().front();
    EXPECT_EQ(box.text, row.prompt);
    EXPECT_EQ(box.caption, "lvcfg");
    EXPECT_EQ(box.type, 0x30U);
    // The focus moves only after the box is closed.
    EXPECT_NE(focusWhileOpen, row.id);
    EXPECT_EQ(m_window->Focus(), row.id);
    EXPECT_EQ(m_window->TextSelection(row.id),
              (std::pair<int, int>{0, static_cast<int>(row.text.size())}));
    EXPECT_EQ(m_window->GetText(row.id), row.text);  // the typed text stays
    // Bindings before the failing one were read, later ones were not.
    EXPECT_EQ(m_dialog.m_strName, "changed");
    EXPECT_EQ(m_dialog.m_nSecond, 8);
    EXPECT_EQ(m_dialog.m_iChoice, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FailingBinding,
    ::testing::Values(FailingText{"IntegerLetters", kInteger, "abc", kParseIntPrompt},
                      FailingText{"IntegerEmpty", kInteger, "", kParseIntPrompt},
                      FailingText{"RealLetters", kReal, "x", kParseRealPrompt},
                      FailingText{"RealEmpty", kReal, "", kParseRealPrompt},
                      FailingText{"RealNan", kReal, "nan", kParseRealPrompt},
                      FailingText{"RealInfinity", kReal, "inf", kParseRealPrompt},
                      FailingText{"RealOverflow", kReal, "1e999", kParseRealPrompt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DataExchange, PromptsAreTheFrameworkStrings) {
    EXPECT_EQ(kParseIntPrompt, "请输入一个整数。");
    EXPECT_EQ(kParseRealPrompt, "请输入一个数字。");
}

TEST_F(DataExchange, FailedRealLeavesTheRealFieldUnchanged) {
    m_window->Type(kReal, "inf");
    EXPECT_FALSE(m_dialog.UpdateData(true));
    EXPECT_DOUBLE_EQ(m_dialog.m_dValue, 1.5);
}

TEST_F(DataExchange, IntegerBeyond32BitsSaturatesWithoutPrompt) {
    m_window->Type(kInteger, "2147483648");
    m_window->Type(kSecondInteger, "-99999999999");
    EXPECT_TRUE(m_dialog.UpdateData(true));
    EXPECT_EQ(m_dialog.m_nFirst, 2147483647);
    EXPECT_EQ(m_dialog.m_nSecond, -2147483647 - 1);
    EXPECT_TRUE(m_backend.MessageBoxes().empty());
}

TEST_F(DataExchange, CaptionIsTheApplicationTitleOfTheBackend) {
    m_backend.SetApplicationTitle("othername");
    m_window->Type(kInteger, "abc");
    EXPECT_FALSE(m_dialog.UpdateData(true));
    ASSERT_EQ(m_backend.MessageBoxes().size(), 1U);
    EXPECT_EQ(m_backend.MessageBoxes().front().caption, "othername");
}

TEST(DataExchangeWithoutWindow, DoesNothingAndReportsFailure) {
    HeadlessBackend backend;
    TestDialog dialog(backend);
    EXPECT_FALSE(dialog.UpdateData(true));
    EXPECT_FALSE(dialog.UpdateData(false));
    EXPECT_EQ(dialog.m_nFirst, 7);
}

class DataExchangeUnderGermanLocale : public DataExchange {
  protected:
    void SetUp() override {
        m_previous = std::setlocale(LC_ALL, nullptr);
        if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
            GTEST_SKIP() << "locale de_DE.UTF-8 is not installed (locale-gen de_DE.UTF-8)";
        }
        DataExchange::SetUp();
    }
    void TearDown() override { std::setlocale(LC_ALL, m_previous.c_str()); }

  private:
    std::string m_previous;
};

TEST_F(DataExchangeUnderGermanLocale, UsesTheFullStopBothWays) {
    m_dialog.m_dValue = 433.92;
    m_dialog.m_nFirst = 1234567;
    m_dialog.UpdateData(false);
    EXPECT_EQ(m_window->GetText(kReal), "433.92");
    EXPECT_EQ(m_window->GetText(kInteger), "1234567");

    m_window->Type(kReal, "12.75");
    EXPECT_TRUE(m_dialog.UpdateData(true));
    EXPECT_DOUBLE_EQ(m_dialog.m_dValue, 12.75);

    m_window->Type(kReal, "12,75");
    EXPECT_TRUE(m_dialog.UpdateData(true));
    EXPECT_DOUBLE_EQ(m_dialog.m_dValue, 12.0);
}

}  // namespace
