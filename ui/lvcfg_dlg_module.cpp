// The module transactions (read the module's frame, write the working frame) and the Read and
// Write commands built on them. Each transaction holds its serial session from the open to the
// end of the function, so the port is freed only after the decode on success and after the
// error box on failure.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <span>
#include <string>

#include "link/port_names.h"
#include "link/serial_session.h"
#include "model/config_frame.h"
#include "model/hex_text.h"
#include "resources/control_ids.h"
#include "ui/lvcfg_dlg.h"

namespace {

constexpr const char* kChoosePort = "Please choose a serial COM port!";
constexpr const char* kOpenFailed = "Failed to open the COM port!";
constexpr const char* kPortWriteFailed = "Failed to write the COM port!";
constexpr const char* kPortReadFailed = "Failed to read  the COM port!";
constexpr const char* kNoResponse = "Module does not response!";
constexpr const char* kModuleWriteFailed = "Failed to write the module!";
constexpr const char* kReadSucceeded = "Succeed to read the module!";
constexpr const char* kWriteSucceeded = "Succeed to write the module!";

constexpr std::array<std::uint8_t, 4> kReadRequest{'A', 'T', 'R', '0'};
constexpr std::array<char, 4> kAcknowledgement{'A', 'T', 'O', 'K'};

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

std::unique_ptr<SerialSession> CLVCfgDlg::OpenComPort() {
    GetDlgItemText(IDC_COM_PORT, m_szText.data(), static_cast<int>(m_szText.size()));
    const std::string path = ResolvePortName(m_szText.data(), m_announcedPorts);
    auto session = std::make_unique<SerialSession>();
    if (session->Open(path) != OpenOutcome::Opened) {
        return nullptr;
    }
    std::snprintf(m_szText.data(), m_szText.size(), "%s", kLineModeText);
    return session;
}

int CLVCfgDlg::ReadModule(ConfigFrame& frame) {
    const std::unique_ptr<SerialSession> session = OpenComPort();
    if (!session) {
        m_reports.FailureReport(kOpenFailed);
        return 0;
    }
    if (!session->Write(kReadRequest)) {
        m_reports.FailureReport(kPortWriteFailed);
        return 0;
    }
    // The answer goes straight into the caller's frame and stays there whatever the checks find.
    std::size_t received = 0;
    if (!session->Read(frame, received)) {
        m_reports.FailureReport(kPortReadFailed);
        return 0;
    }
    if (received == 0) {
        m_reports.FailureReport(kNoResponse);
        return 0;
    }
    const FrameCheck check = CheckFrame(std::span<const std::uint8_t>(frame.data(), received));
    if (check != FrameCheck::Accepted) {
        m_reports.FailureReport(FrameCheckMessage(check));
        return 0;
    }
    m_reports.StatusReport(kReadSucceeded);
    if (m_bAutoConfig == 0 && &frame == &m_workFrame) {
        DecodeFrame(m_workFrame);
    }
    return 1;
}

int CLVCfgDlg::WriteModule() {
    const std::unique_ptr<SerialSession> session = OpenComPort();
    if (!session) {
        m_reports.FailureReport(kOpenFailed);
        return 0;
    }
    // Range warnings of the build show now, while the port is held.
    m_bBuildingFrame = 1;
    EncodeFrame(m_workFrame);
    m_bBuildingFrame = 0;
    SealFrame(m_workFrame);

    if (!session->Write(m_workFrame)) {
        m_reports.FailureReport(kPortWriteFailed);
        return 0;
    }
    // The reply passes through the text scratch. Only the bytes this read received decide:
    // whatever the scratch held before (the mode text, a warning text, or what a handler
    // running inside one of this build's warning boxes left there) never counts as an answer.
    std::size_t received = 0;
    std::span<std::uint8_t> reply(reinterpret_cast<std::uint8_t*>(m_szText.data()),
                                  kAcknowledgement.size());
    if (!session->Read(reply, received)) {
        m_reports.FailureReport(kNoResponse);
        return 0;
    }
    const bool acknowledged =
        received == kAcknowledgement.size() &&
        std::equal(kAcknowledgement.begin(), kAcknowledgement.end(), m_szText.begin());
    if (!acknowledged) {
        m_reports.FailureReport(kModuleWriteFailed);
        return 0;
    }
    m_reports.StatusReport(kWriteSucceeded);
    return 1;
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

    // The module's identity goes straight into the read-only fields, not through the settings.
    SetDlgItemText(IDC_NAME, ModuleNameText(m_moduleFrame).c_str());
    char text[32];
    std::snprintf(text, sizeof text, "%d.%d", m_moduleFrame[FrameOffset::kVersionMajor],
                  m_moduleFrame[FrameOffset::kVersionMinor]);
    SetDlgItemText(IDC_VERSION, text);
    SetDlgItemText(IDC_TYPE, ModuleTypeText(m_moduleFrame[FrameOffset::kType]));
    std::snprintf(text, sizeof text, "%c0dBm",
                  static_cast<char>(m_moduleFrame[FrameOffset::kPowerClass]));
    SetDlgItemText(IDC_POWER_MAX, text);

    // The module keeps its own identity bytes; command, MAC and settings come from the window.
    std::copy(m_moduleFrame.begin() + FrameOffset::kName,
              m_moduleFrame.begin() + FrameOffset::kIdentityEnd,
              m_workFrame.begin() + FrameOffset::kName);

    if (WriteModule() != 0) {
        IncrementMac();
    }
}

// The next module's address: the MAC bytes of the working frame plus one, as a 48-bit
// big-endian number that wraps to zero. The field shows it; the next build reads it from there.
void CLVCfgDlg::IncrementMac() {
    for (std::size_t i = FrameOffset::kMacLength; i-- > 0;) {
        std::uint8_t& byte = m_workFrame[FrameOffset::kMac + i];
        ++byte;
        if (byte != 0) {
            break;
        }
    }
    BytesToHex(m_szText.data(), m_workFrame.data() + FrameOffset::kMac,
               static_cast<std::uint8_t>(FrameOffset::kMacLength));
    SetDlgItemText(IDC_MAC, m_szText.data());
}
