#pragma once

#include <QObject>
#include <QTimer>
#include <memory>

#include "tools/module_sim/simulated_module_set.h"

class InjectedDeviceSource;

// Simulated modules on pseudo-terminals that arrive as if plugged into USB adapters, for a
// station without hardware: each is plugged in at once and again every `replugMs`, so a
// running station programs them over and over.
class SimulatedLine : public QObject {
    Q_OBJECT

  public:
    // `arrivals` must outlive the line.
    SimulatedLine(std::size_t modules, InjectedDeviceSource& arrivals, int replugMs,
                  QObject* parent = nullptr);

    // Starts the modules and plugs them in; false when no pseudo-terminal can be had.
    [[nodiscard]] bool Start();

  private:
    void PlugAll();

    SimulatedModuleSet m_modules;
    InjectedDeviceSource& m_arrivals;
    QTimer m_replug;
};
