#include "link/port_inventory.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <limits>
#include <system_error>
#include <utility>

#include "link/announced_ports.h"
#include "link/port_names.h"
#include "link/tty_hardware_parent.h"

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kSerialCoreBus = "serial-base";

// The first line of a sysfs attribute, without its newline; empty when there is none.
std::string ReadAttribute(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

std::optional<int> ReadNumber(const fs::path& file) {
    const std::string text = ReadAttribute(file);
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos ||
        text.size() > 6) {
        return std::nullopt;
    }
    return std::stoi(text);
}

// Where a symlink points, as an absolute path without "." and "..", or empty.
fs::path LinkTarget(const fs::path& link) {
    std::error_code error;
    const fs::path target = fs::read_symlink(link, error);
    if (error) {
        return {};
    }
    return (target.is_absolute() ? target : link.parent_path() / target).lexically_normal();
}

// The names in `dir` whose links point at `devicePath`, as paths in `dir`, sorted.
std::vector<std::string> LinksTo(const fs::path& dir, const fs::path& devicePath) {
    std::vector<std::string> links;
    std::error_code error;
    for (fs::directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
        if (LinkTarget(it->path()) == devicePath) {
            links.push_back(it->path().string());
        }
    }
    std::sort(links.begin(), links.end());
    return links;
}

// A kernel name stands for a node in the device directory; '!' stands for a subdirectory.
std::string DeviceNodeName(std::string kernelName) {
    std::replace(kernelName.begin(), kernelName.end(), '!', '/');
    return kernelName;
}

std::string KernelNameOf(std::string_view port) {
    const auto slash = port.rfind('/');
    return std::string(slash == std::string_view::npos ? port : port.substr(slash + 1));
}

}  // namespace

PortInventory::PortInventory(std::string sysfsRoot, std::string deviceRoot)
    : m_sysfsRoot(std::move(sysfsRoot)), m_deviceRoot(std::move(deviceRoot)) {}

std::vector<PortDescription> PortInventory::List() const {
    std::vector<PortDescription> ports;
    std::error_code error;
    const fs::path classDir = fs::path(m_sysfsRoot) / "class" / "tty";
    for (fs::directory_iterator it(classDir, error), end; !error && it != end;
         it.increment(error)) {
        if (auto port = DescribeKernelName(it->path().filename().string())) {
            ports.push_back(std::move(*port));
        }
    }
    // Ports without a COM number (ttyAMA0 and the like) come last.
    const auto order = [](const PortDescription& port) {
        return std::make_pair(port.comNumber.value_or(std::numeric_limits<int>::max()),
                              std::string_view(port.kernelName));
    };
    std::sort(ports.begin(), ports.end(),
              [&](const auto& a, const auto& b) { return order(a) < order(b); });
    return ports;
}

std::optional<PortDescription> PortInventory::Describe(std::string_view port) const {
    const std::string kernelName = KernelNameOf(port);
    if (kernelName.empty() || kernelName == "." || kernelName == "..") {
        return std::nullopt;
    }
    return DescribeKernelName(kernelName);
}

std::optional<PortDescription> PortInventory::DescribeKernelName(
    const std::string& kernelName) const {
    std::error_code error;
    const fs::path root = fs::canonical(m_sysfsRoot, error);
    if (error) {
        return std::nullopt;
    }
    const fs::path ttyDir = fs::canonical(root / "class" / "tty" / kernelName, error);
    if (error) {
        return std::nullopt;
    }
    const fs::path relative = ttyDir.lexically_relative(root);
    if (relative.empty() || *relative.begin() == "..") {
        return std::nullopt;  // a link out of the tree
    }
    PortDescription port;
    port.kernelName = kernelName;
    port.sysfsPath = "/" + relative.generic_string();
    if (!HasHardwareParent(port.sysfsPath)) {
        return std::nullopt;
    }
    port.devicePath = (fs::path(m_deviceRoot) / DeviceNodeName(kernelName)).string();
    AddComName(port);
    AddLinks(port);
    const fs::path deviceDir = fs::canonical(ttyDir / "device", error);
    if (!error) {
        AddDeviceDetails(deviceDir.string(), port);
        AddUsbDetails(deviceDir.string(), port);
    }
    port.access = ProbePort(port.devicePath);
    return port;
}

void PortInventory::AddComName(PortDescription& port) const {
    port.comNumber = ComNumberOfKernelName(port.kernelName);
    if (port.comNumber) {
        const std::string name = "COM" + std::to_string(*port.comNumber);
        port.comNameReachesPort =
            ResolvePortName(name, AnnouncedPorts{}, m_deviceRoot) == port.devicePath;
    }
}

void PortInventory::AddLinks(PortDescription& port) const {
    const fs::path serialDir = fs::path(m_deviceRoot) / "serial";
    const fs::path node = fs::path(port.devicePath).lexically_normal();
    port.byIdPaths = LinksTo(serialDir / "by-id", node);
    port.byPathPaths = LinksTo(serialDir / "by-path", node);
}

// The driver bound to the tty's parent device and the attributes that driver adds there.
void PortInventory::AddDeviceDetails(const std::string& deviceDir, PortDescription& port) const {
    // Newer kernels put the serial core's own port and controller devices (drivers "port"
    // and "ctrl" on the serial-base bus) between a UART's tty and its chip; the driver worth
    // naming is the chip's.
    fs::path driven = deviceDir;
    while (LinkTarget(driven / "subsystem").filename() == kSerialCoreBus &&
           driven.has_relative_path()) {
        driven = driven.parent_path();
    }
    port.driver = LinkTarget(driven / "driver").filename().string();
    port.latencyTimerMs = ReadNumber(fs::path(deviceDir) / "latency_timer");
}

// The nearest USB device above the tty carries the vendor, product and serial number.
void PortInventory::AddUsbDetails(const std::string& deviceDir, PortDescription& port) const {
    std::error_code error;
    const fs::path devicesRoot = fs::canonical(fs::path(m_sysfsRoot) / "devices", error);
    if (error) {
        return;
    }
    for (fs::path dir = deviceDir; dir != devicesRoot && dir.has_relative_path();
         dir = dir.parent_path()) {
        if (fs::exists(dir / "idVendor", error)) {
            port.usbVendorId = ReadAttribute(dir / "idVendor");
            port.usbProductId = ReadAttribute(dir / "idProduct");
            port.usbSerial = ReadAttribute(dir / "serial");
            return;
        }
    }
}
