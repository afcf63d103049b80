#include <string>
#include <type_traits>
#include <variant>

#include "model/control_ids.h"
#include "model/setting_field.h"
#include "ui/lvcfg_dlg.h"

namespace {

// One setting with the exchange its kind takes.
void ExchangeSetting(CDataExchange* pDX, const SettingField& field, ConfigSettings& settings) {
    const int id = field.controlId;
    std::visit(
        [&](auto member) {
            auto& value = settings.*member;
            if constexpr (std::is_same_v<decltype(member), int ConfigSettings::*>) {
                if (field.kind == SettingKind::List) {
                    DDX_CBIndex(pDX, id, value);
                } else {
                    DDX_Text(pDX, id, value);
                }
            } else if constexpr (std::is_same_v<decltype(member), bool ConfigSettings::*>) {
                DDX_Check(pDX, id, value);
            } else {
                DDX_Text(pDX, id, value);
            }
        },
        field.member);
}

}  // namespace

// Auto Config first, then the settings in the order of the field table: check boxes, texts,
// real texts, integer texts, list indexes. A text that does not parse stops the exchange
// there, so the order decides which fields a failed save leaves unread.
void CLVCfgDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_AUTO_CONFIG, m_bAutoConfig);
    for (const SettingField& field : SettingFields()) {
        ExchangeSetting(pDX, field, m_settings);
    }
}
