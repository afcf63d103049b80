#include "ui/station/simulated_line.h"

#include <memory>
#include <string>

#include "link/arrival/injected_device_source.h"
#include "ui/station/line_simulation.h"

namespace {

constexpr int kReplugMs = 6000;

}  // namespace

SimulatedLine::SimulatedLine(std::size_t modules, InjectedDeviceSource& arrivals, int replugMs,
                             QObject* parent)
    : QObject(parent),
      m_modules(SimulatedModuleOptions{ModuleIdentity{}, Pacing::LineRate, {}}, modules),
      m_arrivals(arrivals) {
    m_replug.setInterval(replugMs);
    connect(&m_replug, &QTimer::timeout, this, &SimulatedLine::PlugAll);
}

bool SimulatedLine::Start() {
    if (!m_modules.Start()) {
        return false;
    }
    PlugAll();
    m_replug.start();
    return true;
}

void SimulatedLine::PlugAll() {
    for (std::size_t i = 0; i < m_modules.Count(); ++i) {
        // Each module as the kernel names a USB adapter, so the station gives it a slot.
        (void)m_arrivals.Inject(
            UsbSerialReport("add", "ttyUSB" + std::to_string(i), m_modules.Module(i).PortPath()));
    }
}

bool LineSimulationAvailable() {
    return true;
}

std::unique_ptr<QObject> StartLineSimulation(std::size_t count, InjectedDeviceSource& arrivals) {
    auto line = std::make_unique<SimulatedLine>(count, arrivals, kReplugMs);
    if (!line->Start()) {
        return nullptr;
    }
    return line;
}
