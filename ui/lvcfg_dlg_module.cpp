// The Read and Write commands and the module transactions behind them. The exchanges
// themselves are the station's; the window supplies the port from its port box, builds the
// frame with its range warnings, and tells each outcome in its own words. Every report comes
// while the port of that step is still held, so the port is freed only after the decode on
// success and after the error box on failure.

#include <cstdio>
#include <string>

#include "model/hex_text.h"
#include "model/mac_address.h"
#include "resources/control_ids.h"
#include "station/module_transactions.h"
#include "ui/lvcfg_dlg.h"

namespace {

constexpr const char* kChoosePort = "Please choose a serial COM port!";
constexpr const char* kReadSucceeded = "Succeed to read the module!";
constexpr const char* kWriteSucceeded = "Succeed to write the module!";

// "NODE", "ROOT" or "UNKNOWN" for the type character of a module frame.
const char* ModuleTypeText(std::uint8_t type) {
    if (type == 'N') {
        return "NODE";
    }
    if (type == 'R') {
        return "ROOT";
    }
    return "UNKNOWN";
}

}  // namespace

// The window's side of an exchange: its reports, its decode after a Read and its build.
class CLVCfgDlg::WindowModuleSteps : public ModuleSteps {
  public:
    explicit WindowModuleSteps(CLVCfgDlg& dlg) : m_dlg(dlg) {}

    void ModuleRead(const ConfigFrame& frame) override {
        m_dlg.m_reports.StatusReport(kReadSucceeded);
        if (m_dlg.m_bAutoConfig == 0 && &frame == &m_dlg.m_workFrame) {
            m_dlg.DecodeFrame(m_dlg.m_workFrame);
        }
    }

    // Range warnings of the build show now, while the port is held.
    void BuildFrame(ConfigFrame& frame) override {
        m_dlg.m_bBuildingFrame = 1;
        m_dlg.EncodeFrame(frame);
        m_dlg.m_bBuildingFrame = 0;
    }

    void Failed(ModuleOutcome outcome, const PortOpening& opening) override {
        if (outcome == ModuleOutcome::OpenFailed) {
            m_dlg.ReportPortFailure(opening);
            return;
        }
        m_dlg.m_reports.FailureReport(ModuleOutcomeText(outcome));
    }

    void Written() override { m_dlg.m_reports.StatusReport(kWriteSucceeded); }

  private:
    CLVCfgDlg& m_dlg;
};

PortOpening CLVCfgDlg::OpenComPort() {
    GetDlgItemText(IDC_COM_PORT, m_szText.data(), static_cast<int>(m_szText.size()));
    PortOpening opening = OpenModulePort(m_szText.data(), m_announcedPorts);
    if (opening.Opened()) {
        std::snprintf(m_szText.data(), m_szText.size(), "%s", kLineModeText);
    }
    return opening;
}

// The status line and the box keep their one text; why the port failed goes to the box's
// details and to standard error, where it helps without changing what the window says.
void CLVCfgDlg::ReportPortFailure(const PortOpening& opening) {
    const std::string detail = PortFailureDetail(opening);
    std::fprintf(stderr, "lvcfg: %s\n", detail.c_str());
    m_reports.FailureReport(ModuleOutcomeText(ModuleOutcome::OpenFailed), detail.c_str());
}

int CLVCfgDlg::ReadModule(ConfigFrame& frame) {
    WindowModuleSteps steps(*this);
    const ModuleOutcome outcome = ::ReadModule([this] { return OpenComPort(); }, frame, steps);
    return outcome == ModuleOutcome::Succeeded ? 1 : 0;
}

int CLVCfgDlg::WriteModule() {
    WindowModuleSteps steps(*this);
    const ModuleOutcome outcome =
        ::WriteModule([this] { return OpenComPort(); }, m_workFrame, steps);
    return outcome == ModuleOutcome::Succeeded ? 1 : 0;
}

void CLVCfgDlg::OnRead() {
    GetDlgItemText(IDC_COM_PORT, m_szText.data(), static_cast<int>(m_szText.size()));
    if (m_szText[0] == '\0') {
        m_reports.ErrorBox(kChoosePort);
        return;
    }
    static_cast<void>(ReadModule(m_workFrame));
}

void CLVCfgDlg::OnWrite() {
    GetDlgItemText(IDC_COM_PORT, m_szText.data(), static_cast<int>(m_szText.size()));
    if (m_szText[0] == '\0') {
        m_reports.ErrorBox(kChoosePort);
        return;
    }
    if (ReadModule(m_moduleFrame) == 0) {
        return;
    }
    ShowModuleIdentity();
    // The module keeps its own identity bytes; command, MAC and settings come from the window.
    CopyModuleIdentity(m_moduleFrame, m_workFrame);
    if (WriteModule() != 0) {
        IncrementMac();
    }
}

// The module's identity goes straight into the read-only fields, not through the settings.
void CLVCfgDlg::ShowModuleIdentity() {
    SetDlgItemText(IDC_NAME, ModuleNameText(m_moduleFrame).c_str());
    char text[32];
    std::snprintf(text, sizeof text, "%d.%d", m_moduleFrame[FrameOffset::kVersionMajor],
                  m_moduleFrame[FrameOffset::kVersionMinor]);
    SetDlgItemText(IDC_VERSION, text);
    SetDlgItemText(IDC_TYPE, ModuleTypeText(m_moduleFrame[FrameOffset::kType]));
    std::snprintf(text, sizeof text, "%c0dBm",
                  static_cast<char>(m_moduleFrame[FrameOffset::kPowerClass]));
    SetDlgItemText(IDC_POWER_MAX, text);
}

// The next module's address follows the one just written; the field shows it and the next
// build reads it from there.
void CLVCfgDlg::IncrementMac() {
    const MacAddress next = NextMacAddress(MacOfFrame(m_workFrame));
    PutMacIntoFrame(m_workFrame, next);
    BytesToHex(m_szText.data(), next.data(), static_cast<std::uint8_t>(next.size()));
    SetDlgItemText(IDC_MAC, m_szText.data());
}
