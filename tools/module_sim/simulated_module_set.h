#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "tools/module_sim/simulated_module.h"

// Several independent simulated modules, one pseudo-terminal each, as on a programming
// station with many adapters. All share the options of the first, except the MAC: module i
// has the first module's MAC plus i.
class SimulatedModuleSet {
  public:
    SimulatedModuleSet(const SimulatedModuleOptions& first, std::size_t count);

    // Starts every module; false, with none left running, when one cannot start.
    [[nodiscard]] bool Start();
    void Stop();

    [[nodiscard]] std::size_t Count() const { return m_modules.size(); }
    [[nodiscard]] SimulatedModule& Module(std::size_t index) { return *m_modules.at(index); }
    // The port paths in module order.
    [[nodiscard]] std::vector<std::string> PortPaths() const;

  private:
    std::vector<std::unique_ptr<SimulatedModule>> m_modules;
};
