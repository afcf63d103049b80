#include "ui/lvcfg_dlg.h"

#include <memory>
#include <string>

#include "model/control_ids.h"
#include "resources/app_icon.h"
#include "resources/main_dialog_template.h"
#include "resources/string_table.h"
#include "ui/about_dlg.h"

// The codec's window: the exchange of the dialog's controls, its warning boxes and its RF
// Power list.
class CLVCfgDlg::CodecWindow : public CodecHost {
  public:
    explicit CodecWindow(CLVCfgDlg& dlg) : m_dlg(dlg) {}

    bool UpdateData(bool saveAndValidate) override { return m_dlg.UpdateData(saveAndValidate); }

    void ShowWarningBox(const std::string& text) override {
        m_dlg.m_reports.WarningBox(text.c_str());
    }

    void FillRfPowerList(std::span<const char* const> items) override {
        CWnd rfPower = m_dlg.GetDlgItem(IDC_RF_POWER);
        rfPower.SendMessage(CB_RESETCONTENT);
        for (const char* item : items) {
            rfPower.SendMessage(CB_ADDSTRING, item);
        }
    }

  private:
    CLVCfgDlg& m_dlg;
};

CLVCfgDlg::CLVCfgDlg(DialogBackend& backend, LVCfgDlgServices services)
    : CDialog(MainDialogTemplate(), backend),
      m_hIcon(IDR_MAINFRAME),
      m_settings(services.now),
      m_codecWindow(std::make_unique<CodecWindow>(*this)),
      m_codec(m_settings, *m_codecWindow),
      m_reports(*this),
      m_services(services) {
    MakeDefaultWorkFrame(m_workFrame);
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

    GetWindowRect(&m_rcFull);
    SetWindowPos(m_rcFull.Width(), m_rcFull.Height() - kAdvancedPanelHeight);
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

void CLVCfgDlg::EncodeFrame(ConfigFrame& frame, BuildPurpose purpose) {
    m_codec.EncodeFrame(frame, {.advancedShown = m_bAdvancedShown, .purpose = purpose});
}
