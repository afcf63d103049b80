#pragma once

#include <memory>
#include <optional>

#include "link/announced_ports.h"
#include "link/arrival/device_event_source.h"
#include "link/arrival/tty_device.h"

// Learns of serial ports being plugged in and pulled out. The window watches Descriptor() and
// calls OnReadable when it is readable; each call takes one report from the source and gives
// the event it stands for, or nothing when the report is of no interest (another action, a
// tty without hardware behind it, a name without a port number).
//
// The watcher keeps `announced` up to date: an arrival records its device as COMn, so that a
// command started by the arrival opens exactly that device; a removal forgets COMn if it was
// that device. `announced` must outlive the watcher.
class ArrivalWatcher {
  public:
    ArrivalWatcher(std::unique_ptr<DeviceEventSource> source, AnnouncedPorts& announced)
        : m_source(std::move(source)), m_announced(announced) {}

    [[nodiscard]] int Descriptor() const { return m_source->Descriptor(); }
    [[nodiscard]] std::optional<DeviceEvent> OnReadable();

    [[nodiscard]] DeviceEventSource& Source() { return *m_source; }

  private:
    std::unique_ptr<DeviceEventSource> m_source;
    AnnouncedPorts& m_announced;
};
