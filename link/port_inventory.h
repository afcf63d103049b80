#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/serial_session.h"

// What the machine knows about one serial port: where it is, what drives it, what is behind
// it, and whether a session could have it now.
struct PortDescription {
    std::string kernelName;  // "ttyUSB0"
    std::string devicePath;  // "/dev/ttyUSB0"
    std::string sysfsPath;   // the kernel's device path, "/devices/pci0000:00/.../tty/ttyUSB0"
    // The COMn number its kernel name gives (ttyUSB0 is COM1), and whether "COMn" in the port
    // box reaches this port (a ttyACM0 beside a ttyUSB0 is COM1 by name but not by lookup).
    std::optional<int> comNumber;
    bool comNameReachesPort = false;
    std::vector<std::string> byIdPaths;    // /dev/serial/by-id/... links that point here
    std::vector<std::string> byPathPaths;  // /dev/serial/by-path/... links that point here
    std::string driver;                 // "ftdi_sio", "cp210x", "cdc_acm", "serial"; may be empty
    std::string usbVendorId;            // "0403", empty when it is no USB device
    std::string usbProductId;           // "6001"
    std::string usbSerial;              // empty when the device has none
    std::optional<int> latencyTimerMs;  // the FTDI latency timer, where the driver has one
    // How an open of the port ends now: Opened means free, Busy in use, and so on.
    OpenOutcome access = OpenOutcome::Missing;
};

// The serial ports of this machine: the ttys with hardware behind them, read from sysfs and
// the device directory. The roots are parameters so a test can give a small tree of its own.
// Each port's access is found with ProbePort, which leaves the port as it was.
class PortInventory {
  public:
    explicit PortInventory(std::string sysfsRoot = "/sys", std::string deviceRoot = "/dev");

    // Every port, by COM number, then by kernel name; ports without a number last.
    [[nodiscard]] std::vector<PortDescription> List() const;
    // One port by kernel name or device path ("ttyUSB0", "/dev/ttyUSB0"), as for a port that
    // has just arrived. Nothing when sysfs knows no such tty or it has no hardware behind.
    [[nodiscard]] std::optional<PortDescription> Describe(std::string_view port) const;

  private:
    [[nodiscard]] std::optional<PortDescription> DescribeKernelName(
        const std::string& kernelName) const;
    void AddDeviceDetails(const std::string& deviceDir, PortDescription& port) const;
    void AddUsbDetails(const std::string& deviceDir, PortDescription& port) const;
    void AddLinks(PortDescription& port) const;
    void AddComName(PortDescription& port) const;

    std::string m_sysfsRoot;
    std::string m_deviceRoot;
};
