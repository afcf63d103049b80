#include "station/module_port.h"

#include <cstring>

#include "link/announced_ports.h"
#include "link/port_names.h"

PortOpening OpenModulePort(const std::string& portText, const AnnouncedPorts& announced) {
    PortOpening opening;
    opening.portText = portText;
    opening.device = ResolvePortName(portText, announced);
    auto session = std::make_unique<SerialSession>();
    opening.outcome = session->Open(opening.device);
    if (opening.outcome == OpenOutcome::Opened) {
        opening.session = std::move(session);
    } else {
        opening.error = session->LastOpenError();
    }
    return opening;
}

namespace {

const char* Reason(const PortOpening& opening) {
    switch (opening.outcome) {
        case OpenOutcome::Missing:
            return "no such device. Check the port name and that the adapter is plugged in.";
        case OpenOutcome::Busy:
            return "in use by another program. Close the program that holds it (another lvcfg, "
                   "a terminal program, ModemManager) and try again.";
        case OpenOutcome::PermissionDenied:
            return "permission denied. Allow your user to open serial ports with "
                   "'sudo usermod -aG dialout $USER', then log in again.";
        case OpenOutcome::NotATerminal:
            return "not a serial port.";
        case OpenOutcome::SettingsRejected:
            return "the driver refused the line settings.";
        case OpenOutcome::Unopenable:
        case OpenOutcome::Opened:
            break;
    }
    return "it could not be opened.";
}

}  // namespace

std::string PortFailureDetail(const PortOpening& opening) {
    std::string detail = opening.device.empty() ? "(no port)" : opening.device;
    if (!opening.portText.empty() && opening.portText != opening.device) {
        detail += " (" + opening.portText + ")";
    }
    detail += ": ";
    detail += Reason(opening);
    if (opening.error != 0) {
        detail += " [";
        detail += std::strerror(opening.error);
        detail += "]";
    }
    return detail;
}
