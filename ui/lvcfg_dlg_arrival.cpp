// Module arrival: the registration made while the window initialises, and the handler of
// serial ports that are plugged in or pulled out. With Auto Config on, an arriving module is
// programmed by the Write command; arrivals while another command runs wait their turn.

#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "link/arrival/arrival_watcher.h"
#include "model/control_ids.h"
#include "ui/lvcfg_dlg.h"

namespace {

constexpr const char* kRegistrationFailed =
    "Failed to register notification of device change, please enable UPnP!";
// What the box's text means on Linux, where device changes come from udev.
constexpr const char* kNoArrivalsDetail =
    "udev is not running here, so modules plugged in are not noticed and Auto Config stays "
    "off. Read and Write still work: type the port (COM1 or /dev/ttyUSB0) and press the "
    "button.";

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
        m_reports.ErrorBox(kRegistrationFailed, kNoArrivalsDetail);
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
    const std::string port = "COM" + std::to_string(event.portNumber);
    if (event.kind == DeviceEventKind::Removal) {
        m_commands.DropQueuedWrite(event.portNumber);
        m_reports.StatusReport(("Module is extracted from " + port).c_str());
        return;
    }
    m_reports.StatusReport(("Module is inserted into " + port).c_str());
    SetDlgItemText(IDC_COM_PORT, port.c_str());
    if (!m_bAutoConfig) {
        return;
    }
    // A command in progress has its boxes open: the Write waits until it has ended.
    if (m_commands.Running()) {
        m_commands.QueueWrite(event.portNumber);
    } else {
        const CommandGuard::Scope command(m_commands);
        OnWrite();
    }
}

void CLVCfgDlg::WriteArrivedModule(int portNumber) {
    // Auto Config switched off while the Write waited: the operator no longer wants it.
    if (!m_bAutoConfig) {
        return;
    }
    SetDlgItemText(IDC_COM_PORT, ("COM" + std::to_string(portNumber)).c_str());
    OnWrite();
}
