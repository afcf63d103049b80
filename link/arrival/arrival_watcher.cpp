#include "link/arrival/arrival_watcher.h"

#include <utility>

std::optional<DeviceEvent> ArrivalWatcher::OnReadable() {
    const std::optional<TtyDeviceReport> report = m_source->Receive();
    if (!report) {
        return std::nullopt;
    }
    std::optional<DeviceEvent> event = TranslateTtyReport(*report);
    if (!event) {
        return std::nullopt;
    }
    if (event->kind == DeviceEventKind::Arrival) {
        m_announced.Announce(event->portNumber, event->devicePath);
    } else if (m_announced.Lookup(event->portNumber) == event->devicePath) {
        m_announced.Forget(event->portNumber);
    }
    return event;
}
