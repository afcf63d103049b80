#include "ui/lvcfg_dlg.h"

#include <string>

#include "resources/app_icon.h"
#include "resources/main_dialog_template.h"
#include "resources/string_table.h"
#include "ui/about_dlg.h"
#include "resources/control_ids.h"

CLVCfgDlg::CLVCfgDlg(DialogBackend& backend, LVCfgDlgServices services)
    : CDialog(MainDialogTemplate(), backend),
      ConfigSettings(services.now),
      m_codec(*this, *this),
      m_reports(*this),
      m_services(services) {
    m_hIcon = IDR_MAINFRAME;
}

CLVCfgDlg::~CLVCfgDlg() = default;

bool CLVCfgDlg::OnInitDialog() {
    // The lists were filled when the window was built; the base shows the defaults.
    CDialog::OnInitDialog();

    if (Template().hasSystemMenu) {
        const std::string aboutItem(LoadResourceString(IDS_ABOUTBOX));
        if (!aboutItem.empty()) {
            AppendSystemMenu(IDM_ABOUTBOX, aboutItem.c_str());
        }
    }

    SetIcon(m_hIcon, true);
    SetIcon(m_hIcon, false);

    RegisterForDeviceChanges();

    CRect full;
    GetWindowRect(&full);
    m_rcFull = WindowRect{full.left, full.top, full.right, full.bottom};
    SetWindowPos(m_rcFull.right - m_rcFull.left,
                 m_rcFull.bottom - m_rcFull.top - kAdvancedPanelHeight);
    return true;
}

void CLVCfgDlg::OnCommand(int id, int notifyCode) {
    // Arrivals during this command's boxes wait for their Write until it has ended.
    const CommandGuard::Scope command(m_commands);
    if (notifyCode == BN_CLICKED) {
        switch (id) {
            case IDC_READ:
                OnRead();
                return;
            case IDC_WRITE:
                OnWrite();
                return;
            case IDC_OPEN:
                OnOpen();
                return;
            case IDC_SAVE:
                OnSave();
                return;
            case IDC_ADVANCED:
                OnAdvanced();
                return;
            case IDC_AUTO_CONFIG:
                OnAutoConfig();
                return;
            case IDC_APPLY:
                OnApply();
                return;
            default:
                break;
        }
    }
    if (notifyCode == CBN_SELCHANGE) {
        if (id == IDC_RF_BAUD_DEF) {
            ApplyRfBaudDefaults();
            return;
        }
        if (id == IDC_RF_BAUD_MAX) {
            ApplyRfBaudMaxDefaults();
            return;
        }
    }
    CDialog::OnCommand(id, notifyCode);
}

void CLVCfgDlg::OnSysCommand(unsigned commandId) {
    const CommandGuard::Scope command(m_commands);
    if ((commandId & 0xFFF0U) == IDM_ABOUTBOX) {
        CAboutDlg about(Backend(), this);
        about.DoModal();
        return;
    }
    CDialog::OnSysCommand(commandId);
}

bool CLVCfgDlg::UpdateData(bool saveAndValidate) {
    return CDialog::UpdateData(saveAndValidate);
}

void CLVCfgDlg::ShowWarningBox(const char* text) {
    m_reports.WarningBox(text);
}

void CLVCfgDlg::FillRfPowerList(std::span<const char* const> items) {
    CWnd rfPower = GetDlgItem(IDC_RF_POWER);
    rfPower.SendMessage(CB_RESETCONTENT);
    for (const char* item : items) {
        rfPower.SendMessage(CB_ADDSTRING, item);
    }
}
