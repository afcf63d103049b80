#include "link/arrival/udev_device_source.h"

#include <libudev.h>
#include <unistd.h>

#include <memory>

namespace {

struct ContextRelease {
    void operator()(struct udev* context) const { udev_unref(context); }
};
struct MonitorRelease {
    void operator()(struct udev_monitor* monitor) const { udev_monitor_unref(monitor); }
};
struct DeviceRelease {
    void operator()(struct udev_device* device) const { udev_device_unref(device); }
};

std::string TextOrEmpty(const char* text) {
    return text != nullptr ? std::string(text) : std::string();
}

}  // namespace

const char* UdevSetupOutcomeName(UdevSetupOutcome outcome) {
    switch (outcome) {
        case UdevSetupOutcome::Ready:
            return "ready";
        case UdevSetupOutcome::NoDaemon:
            return "no udev daemon";
        case UdevSetupOutcome::MonitorFailed:
            return "udev monitor refused";
    }
    return "unknown";
}

UdevDeviceSource::Setup UdevDeviceSource::Create(const std::string& runDir) {
    // Events from the "udev" source are sent by the daemon once it has made the device node;
    // without a daemon the monitor could be created but would stay silent forever.
    const std::string control = runDir + "/control";
    if (::access(control.c_str(), F_OK) != 0) {
        return {UdevSetupOutcome::NoDaemon, nullptr};
    }
    std::unique_ptr<struct udev, ContextRelease> context(udev_new());
    if (!context) {
        return {UdevSetupOutcome::MonitorFailed, nullptr};
    }
    std::unique_ptr<struct udev_monitor, MonitorRelease> monitor(
        udev_monitor_new_from_netlink(context.get(), "udev"));
    if (!monitor ||
        udev_monitor_filter_add_match_subsystem_devtype(monitor.get(), "tty", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor.get()) < 0 ||
        udev_monitor_get_fd(monitor.get()) < 0) {
        return {UdevSetupOutcome::MonitorFailed, nullptr};
    }
    return {UdevSetupOutcome::Ready, std::unique_ptr<UdevDeviceSource>(new UdevDeviceSource(
                                         context.release(), monitor.release()))};
}

UdevDeviceSource::~UdevDeviceSource() {
    udev_monitor_unref(m_monitor);
    udev_unref(m_context);
}

int UdevDeviceSource::Descriptor() const {
    return udev_monitor_get_fd(m_monitor);
}

std::optional<TtyDeviceReport> UdevDeviceSource::Receive() {
    // The monitor's socket does not block: with nothing waiting this returns at once.
    std::unique_ptr<struct udev_device, DeviceRelease> device(
        udev_monitor_receive_device(m_monitor));
    if (!device) {
        return std::nullopt;
    }
    return TtyDeviceReport{TextOrEmpty(udev_device_get_action(device.get())),
                           TextOrEmpty(udev_device_get_sysname(device.get())),
                           TextOrEmpty(udev_device_get_devnode(device.get())),
                           TextOrEmpty(udev_device_get_devpath(device.get()))};
}
