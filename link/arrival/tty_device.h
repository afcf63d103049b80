#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "link/tty_hardware_parent.h"

// One tty device as the device manager reports it when it comes, goes or changes.
struct TtyDeviceReport {
    std::string action;      // "add", "remove", "change", "bind", ...
    std::string kernelName;  // "ttyUSB0"
    std::string devicePath;  // the node to open, "/dev/ttyUSB0"; may be empty on a removal
    std::string sysfsPath;   // the kernel's device path, "/devices/pci0000:00/.../tty/ttyUSB0"
};

enum class DeviceEventKind { Arrival, Removal };

// A serial port that was plugged in or pulled out: what the window needs to tell the user and
// to program the module, COMn being the port's name in the window.
struct DeviceEvent {
    DeviceEventKind kind;
    int portNumber;
    std::string devicePath;

    bool operator==(const DeviceEvent&) const = default;
};

// The event for a report: arrival for "add", removal for "remove", of a tty with hardware
// behind it whose kernel name gives a port number (ttyUSB0 is COM1, ttyACM3 is COM4). Nothing
// for any other report.
[[nodiscard]] std::optional<DeviceEvent> TranslateTtyReport(const TtyDeviceReport& report);

// A report as udev gives it for a USB-serial adapter; for tests and simulated modules, which
// may give any device node (a pseudo-terminal) under a USB kernel name.
[[nodiscard]] TtyDeviceReport UsbSerialReport(std::string action, std::string kernelName,
                                              std::string devicePath);
