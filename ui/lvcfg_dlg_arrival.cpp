// Module arrival: the registration made while the window initialises, and the handler of
// serial ports that are plugged in or pulled out. With Auto Config on, an arriving module is
// programmed by the Write command; arrivals while another command runs wait their turn.

#include <cstdio>
#include <memory>
#include <optional>
#include <utility>

#include "link/arrival/arrival_watcher.h"
#include "resources/control_ids.h"
#include "ui/lvcfg_dlg.h"

namespace {

constexpr const char* kRegistrationFailed =
    "Failed to register notification of device change, please enable UPnP!";

}  // namespace

void CLVCfgDlg::RegisterForDeviceChanges() {
    if (!m_services.deviceEvents) {
        return;
    }
    std::unique_ptr<DeviceEventSource> source = m_services.deviceEvents();
    if (!source || source->Descriptor() < 0 || Window() == nullptr) {
        m_arrivalWatcher.reset();
        // Without notifications the buttons still work; Auto Config mode cannot be entered,
        // and nothing enables the check box again during the run.
        m_reports.ErrorBox(kRegistrationFailed);
        GetDlgItem(IDC_AUTO_CONFIG).EnableWindow(false);
        return;
    }
    m_arrivalWatcher = std::make_unique<ArrivalWatcher>(std::move(source), m_announcedPorts);
    Window()->WatchReadable(m_arrivalWatcher->Descriptor(), [this] { OnDeviceEventsReadable(); });
}

// One report per readiness; the event loop calls again while more wait. Reports of no
// interest (other actions, ttys without hardware behind them) give no event.
void CLVCfgDlg::OnDeviceEventsReadable() {
    if (!m_arrivalWatcher) {
        return;
    }
    const std::optional<DeviceEvent> event = m_arrivalWatcher->OnReadable();
    if (event) {
        OnDeviceChange(*event);
    }
}

// The watcher has already recorded an arriving device as COMn (and forgotten a removed one),
// so a Write for COMn opens exactly that device.
void CLVCfgDlg::OnDeviceChange(const DeviceEvent& event) {
    // A command in progress may be between two uses of the scratch text; it gets it back
    // unchanged.
    const bool nested = m_commands.Running();
    const auto scratch = m_szText;

    if (event.kind == DeviceEventKind::Removal) {
        m_commands.DropQueuedWrite(event.portNumber);
        std::snprintf(m_szText.data(), m_szText.size(), "Module is extracted from COM%d",
                      event.portNumber);
        m_reports.StatusReport(m_szText.data());
    } else {
        std::snprintf(m_szText.data(), m_szText.size(), "Module is inserted into COM%d",
                      event.portNumber);
        m_reports.StatusReport(m_szText.data());
        std::snprintf(m_szText.data(), m_szText.size(), "COM%d", event.portNumber);
        SetDlgItemText(IDC_COM_PORT, m_szText.data());
        if (m_bAutoConfig != 0) {
            if (nested) {
                m_commands.QueueWrite(event.portNumber);
            } else {
                const CommandGuard::Scope command(m_commands);
                OnWrite();
            }
        }
    }
    if (nested) {
        m_szText = scratch;
    }
}

void CLVCfgDlg::WriteArrivedModule(int portNumber) {
    // Auto Config switched off while the Write waited: the operator no longer wants it.
    if (m_bAutoConfig == 0) {
        return;
    }
    std::snprintf(m_szText.data(), m_szText.size(), "COM%d", portNumber);
    SetDlgItemText(IDC_COM_PORT, m_szText.data());
    OnWrite();
}
