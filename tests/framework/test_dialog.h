#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tests/support/headless_backend.h"
#include "ui/framework/cdialog.h"
#include "ui/framework/dialog_template.h"

// A small dialog with one binding of every kind, in this order: check 11, text 10, real 12,
// integer 13, integer 14, list index 15. Push button 16 is unbound.
namespace test_dialog {
inline constexpr int kCheck = 11;
inline constexpr int kText = 10;
inline constexpr int kReal = 12;
inline constexpr int kInteger = 13;
inline constexpr int kSecondInteger = 14;
inline constexpr int kList = 15;
inline constexpr int kButton = 16;
inline constexpr int kTemplateId = 900;

const DialogTemplate& Template();
}  // namespace test_dialog

class TestDialog : public CDialog {
  public:
    explicit TestDialog(DialogBackend& backend, CDialog* parent = nullptr)
        : CDialog(test_dialog::Template(), backend, parent) {}

    void DoDataExchange(CDataExchange* pDX) override;
    void OnCommand(int id, int notifyCode) override;

    int m_bFlag = 0;
    std::string m_strName = "name";
    double m_dValue = 1.5;
    int m_nFirst = 7;
    int m_nSecond = 8;
    int m_iChoice = 1;
    int m_buttonClicks = 0;
};

// The test dialog created on a headless backend, as a user finds it: window built, lists
// filled, first load exchange done.
class CreatedTestDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_dialog.Create());
        m_window = m_backend.TopWindow();
        ASSERT_NE(m_window, nullptr);
    }

    HeadlessBackend m_backend;
    TestDialog m_dialog{m_backend};
    HeadlessWindow* m_window = nullptr;
};
