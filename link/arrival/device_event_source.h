#pragma once

#include <optional>

#include "link/arrival/tty_device.h"

// Where reports of tty devices come from: udev in the program, an injector in tests. The
// descriptor becomes readable when a report waits; the window's event loop watches it and
// calls Receive then.
class DeviceEventSource {
  public:
    virtual ~DeviceEventSource() = default;

    [[nodiscard]] virtual int Descriptor() const = 0;
    // The next waiting report, or nothing when none waits (never blocks).
    [[nodiscard]] virtual std::optional<TtyDeviceReport> Receive() = 0;
};
