#pragma once

#include <ostream>

#include "link/arrival/tty_device.h"

// Readable failure messages for events ("arrival COM1 /dev/ttyUSB0").
inline void PrintTo(const DeviceEvent& event, std::ostream* out) {
    *out << (event.kind == DeviceEventKind::Arrival ? "arrival" : "removal") << " COM"
         << event.portNumber << ' ' << event.devicePath;
}
