#include "app/udev_device_events.h"

#include <utility>

#include "link/arrival/udev_device_source.h"

std::unique_ptr<DeviceEventSource> UdevDeviceEvents() {
    UdevDeviceSource::Setup setup = UdevDeviceSource::Create();
    if (setup.outcome != UdevSetupOutcome::Ready) {
        return nullptr;
    }
    return std::move(setup.source);
}
