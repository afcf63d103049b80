#pragma once

#include <memory>
#include <optional>
#include <string>

#include "link/arrival/device_event_source.h"

struct udev;
struct udev_monitor;

// How setting up the udev monitor ended.
enum class UdevSetupOutcome {
    Ready,
    NoDaemon,       // no udev daemon runs here (a container, a minimal system): no event would come
    MonitorFailed,  // libudev refused the context, the monitor, its filter or its socket
};

[[nodiscard]] const char* UdevSetupOutcomeName(UdevSetupOutcome outcome);

// Reports of tty devices from a udev monitor on the "udev" source, so a device node exists and
// carries its permissions by the time we hear of it. Filtered to the tty subsystem in the
// kernel, so other devices never wake the window.
class UdevDeviceSource : public DeviceEventSource {
  public:
    struct Setup {
        UdevSetupOutcome outcome;
        std::unique_ptr<UdevDeviceSource> source;  // set exactly when outcome is Ready
    };

    // `runDir` is where the udev daemon keeps its control socket (/run/udev); tests give
    // their own to check both outcomes.
    [[nodiscard]] static Setup Create(const std::string& runDir = "/run/udev");

    ~UdevDeviceSource() override;
    UdevDeviceSource(const UdevDeviceSource&) = delete;
    UdevDeviceSource& operator=(const UdevDeviceSource&) = delete;

    [[nodiscard]] int Descriptor() const override;
    [[nodiscard]] std::optional<TtyDeviceReport> Receive() override;

  private:
    UdevDeviceSource(struct udev* context, struct udev_monitor* monitor)
        : m_context(context), m_monitor(monitor) {}

    struct udev* m_context;
    struct udev_monitor* m_monitor;
};
