#pragma once

#include <QObject>
#include <cstddef>
#include <memory>

class InjectedDeviceSource;

// Simulated modules for trying a station without hardware. The shipped lvcfg-station has none
// (no_line_simulation.cpp); the build tree's lvcfg-station-simulated links the simulator
// (simulated_line.cpp).
[[nodiscard]] bool LineSimulationAvailable();

// Starts `count` simulated modules that arrive on `arrivals` as if plugged into USB adapters,
// and again every few seconds; nothing when they cannot start.
[[nodiscard]] std::unique_ptr<QObject> StartLineSimulation(std::size_t count,
                                                           InjectedDeviceSource& arrivals);
