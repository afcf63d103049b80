#include "tests/framework/test_dialog.h"

#include <array>
#include <string_view>

namespace {

constexpr std::array<DialogItem, 8> kItems{{
    {ItemKind::LabelRight, kNoId, "Name:", 2, 2, 20, 9},
    {ItemKind::Edit, test_dialog::kText, "", 24, 2, 40, 12},
    {ItemKind::CheckBox, test_dialog::kCheck, "Flag", 2, 16, 40, 10},
    {ItemKind::Edit, test_dialog::kReal, "", 24, 28, 40, 12},
    {ItemKind::Edit, test_dialog::kInteger, "", 24, 40, 40, 12},
    {ItemKind::Edit, test_dialog::kSecondInteger, "", 66, 40, 30, 12},
    {ItemKind::DropDownList, test_dialog::kList, "", 66, 2, 30, 60},
    {ItemKind::PushButton, test_dialog::kButton, "Go", 66, 16, 30, 14},
}};
constexpr std::array<std::string_view, 3> kChoices{"a", "b", "c"};
const std::array<InitialList, 1> kLists{{{test_dialog::kList, kChoices}}};
const DialogTemplate kTemplate{
    test_dialog::kTemplateId, "Test", 101, 61, "Tahoma", 9, true, kItems, kLists};

}  // namespace

const DialogTemplate& test_dialog::Template() {
    return kTemplate;
}

void TestDialog::DoDataExchange(CDataExchange* pDX) {
    DDX_Check(pDX, test_dialog::kCheck, m_bFlag);
    DDX_Text(pDX, test_dialog::kText, m_strName);
    DDX_Text(pDX, test_dialog::kReal, m_dValue);
    DDX_Text(pDX, test_dialog::kInteger, m_nFirst);
    DDX_Text(pDX, test_dialog::kSecondInteger, m_nSecond);
    DDX_CBIndex(pDX, test_dialog::kList, m_iChoice);
}

void TestDialog::OnCommand(int id, int notifyCode) {
    if (id == test_dialog::kButton && notifyCode == BN_CLICKED) {
        ++m_buttonClicks;
        return;
    }
    CDialog::OnCommand(id, notifyCode);
}
