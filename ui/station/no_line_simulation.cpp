#include "ui/station/line_simulation.h"

bool LineSimulationAvailable() {
    return false;
}

std::unique_ptr<QObject> StartLineSimulation(std::size_t /*count*/,
                                             InjectedDeviceSource& /*arrivals*/) {
    return nullptr;
}
