#pragma once

#include <memory>

#include "link/arrival/device_event_source.h"

// The program's source of port arrivals and removals: a udev monitor, or nothing when udev
// cannot report them here (the window then reports a refused registration).
[[nodiscard]] std::unique_ptr<DeviceEventSource> UdevDeviceEvents();
