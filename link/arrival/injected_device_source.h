#pragma once

#include <deque>
#include <optional>

#include "link/arrival/device_event_source.h"
#include "link/unique_fd.h"

// Reports handed in by the program itself: tests, and simulated modules on pseudo-terminals
// that arrive as if plugged in. Its descriptor is readable exactly while reports wait, so any
// event loop watches it the way it watches udev.
class InjectedDeviceSource : public DeviceEventSource {
  public:
    InjectedDeviceSource();

    // Queues `report`. false only if the wake-up pipe could not be created or written.
    bool Inject(TtyDeviceReport report);

    [[nodiscard]] int Descriptor() const override { return m_readEnd.Get(); }
    [[nodiscard]] std::optional<TtyDeviceReport> Receive() override;
    [[nodiscard]] std::size_t Pending() const { return m_reports.size(); }

  private:
    UniqueFd m_readEnd;
    UniqueFd m_writeEnd;
    std::deque<TtyDeviceReport> m_reports;
};
