#include "tools/module_sim/simulated_module_set.h"

SimulatedModuleSet::SimulatedModuleSet(const SimulatedModuleOptions& first, std::size_t count) {
    m_modules.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        SimulatedModuleOptions options = first;
        options.identity.mac = MacPlus(first.identity.mac, static_cast<unsigned>(i));
        m_modules.push_back(std::make_unique<SimulatedModule>(options));
    }
}

bool SimulatedModuleSet::Start() {
    for (auto& module : m_modules) {
        if (!module->Start()) {
            Stop();
            return false;
        }
    }
    return true;
}

void SimulatedModuleSet::Stop() {
    for (auto& module : m_modules) {
        module->Stop();
    }
}

std::vector<std::string> SimulatedModuleSet::PortPaths() const {
    std::vector<std::string> paths;
    paths.reserve(m_modules.size());
    for (const auto& module : m_modules) {
        paths.push_back(module->PortPath());
    }
    return paths;
}
