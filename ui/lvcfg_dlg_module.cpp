// The Read and Write commands and the module transactions behind them. The exchanges
// themselves are the station's; the window supplies the port from its port box, builds the
// frame with its range warnings, and tells each outcome in its own words. Every report comes
// while the port of that step is still held, so the port is freed only after the decode on
// success and after the error box on failure.

#include <array>
#include <cstdio>
#include <string>

#include "model/control_ids.h"
#include "model/identity_text.h"
#include "model/mac_address.h"
#include "station/module_transactions.h"
#include "ui/lvcfg_dlg.h"

namespace {

constexpr const char* kChoosePort = "Please choose a serial COM port!";
constexpr const char* kReadSucceeded = "Succeed to read the module!";
constexpr const char* kWriteSucceeded = "Succeed to write the module!";
// The port box is read as at most 255 characters.
constexpr int kPortTextSize = 256;

}  // namespace

// The window's side of an exchange: its reports, its decode after a Read and its build.
class CLVCfgDlg::WindowModuleSteps : public ModuleSteps {
  public:
    explicit WindowModuleSteps(CLVCfgDlg& dlg) : m_dlg(dlg) {}

    void ModuleRead(const ConfigFrame& frame) override {
        m_dlg.m_reports.StatusReport(kReadSucceeded);
        if (!m_dlg.m_bAutoConfig && &frame == &m_dlg.m_workFrame) {
            m_dlg.DecodeFrame(m_dlg.m_workFrame);
        }
    }

    // Range warnings of the build show now, while the port is held.
    void BuildFrame(ConfigFrame& frame) override {
        m_dlg.EncodeFrame(frame, BuildPurpose::WriteOrSave);
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

std::string CLVCfgDlg::PortText() const {
    std::array<char, kPortTextSize> text{};
    GetDlgItemText(IDC_COM_PORT, text.data(), kPortTextSize);
    return text.data();
}

PortOpening CLVCfgDlg::OpenComPort() {
    return OpenModulePort(PortText(), m_announcedPorts);
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
    if (PortText().empty()) {
        m_reports.ErrorBox(kChoosePort);
        return;
    }
    static_cast<void>(ReadModule(m_workFrame));
}

void CLVCfgDlg::OnWrite() {
    if (PortText().empty()) {
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
    const IdentityText identity = IdentityTextOf(m_moduleFrame);
    SetDlgItemText(IDC_NAME, identity.name.c_str());
    SetDlgItemText(IDC_VERSION, identity.version.c_str());
    SetDlgItemText(IDC_TYPE, identity.type.c_str());
    SetDlgItemText(IDC_POWER_MAX, identity.powerMax.c_str());
}

// The next module's address follows the one just written; the field shows it and the next
// build reads it from there.
void CLVCfgDlg::IncrementMac() {
    const MacAddress next = NextMacAddress(MacOfFrame(m_workFrame));
    PutMacIntoFrame(m_workFrame, next);
    SetDlgItemText(IDC_MAC, MacHexText(next).c_str());
}
