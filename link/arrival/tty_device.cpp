#include "link/arrival/tty_device.h"

#include <utility>

#include "link/port_names.h"

std::optional<DeviceEvent> TranslateTtyReport(const TtyDeviceReport& report) {
    DeviceEventKind kind{};
    if (report.action == "add") {
        kind = DeviceEventKind::Arrival;
    } else if (report.action == "remove") {
        kind = DeviceEventKind::Removal;
    } else {
        return std::nullopt;
    }
    if (!HasHardwareParent(report.sysfsPath)) {
        return std::nullopt;
    }
    const std::optional<int> number = ComNumberOfKernelName(report.kernelName);
    if (!number) {
        return std::nullopt;
    }
    std::string path = report.devicePath;
    if (path.empty()) {
        path = std::string(kDeviceDir) + "/" + report.kernelName;
    }
    return DeviceEvent{kind, *number, std::move(path)};
}

TtyDeviceReport UsbSerialReport(std::string action, std::string kernelName,
                                std::string devicePath) {
    std::string sysfsPath =
        "/devices/pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0/" + kernelName + "/tty/" + kernelName;
    return TtyDeviceReport{std::move(action), std::move(kernelName), std::move(devicePath),
                           std::move(sysfsPath)};
}
