#pragma once

#include <QTemporaryDir>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/arrival/injected_device_source.h"
#include "store/station_store.h"
#include "tools/module_sim/simulated_module.h"
#include "ui/station/station_controller.h"
#include "ui/station/station_window.h"

class SlotTile;

// A station window on the offscreen platform over a real SQLite station database in a folder
// of its own, with simulated modules that arrive through an injected device source as USB
// adapters would.
class StationRig {
  public:
    // The first MAC of the pool, one of this test program's own: a module pulled out frees its
    // pseudo-terminal, which a module of a test running beside it may take, and that module
    // must not hold the very frame sent here.
    [[nodiscard]] static std::uint64_t PoolStart();

    // A pool of `poolSize` MACs (none when 0) and the window with the test .cfg file loaded.
    explicit StationRig(std::uint64_t poolSize);
    ~StationRig();

    // A module that answers as told, started but not plugged in yet.
    SimulatedModule& AddModule();
    // The kernel names module `index` as ttyUSB<index>.
    [[nodiscard]] SimulatedModule& Module(std::size_t index) { return *m_modules.at(index); }
    void Plug(std::size_t index);
    void Unplug(std::size_t index);
    [[nodiscard]] std::string Device(std::size_t index) const;

    [[nodiscard]] SlotTile* Tile(std::size_t index) const;
    // Processes events until `done` holds or a generous deadline passes.
    template <class Done>
    [[nodiscard]] bool WaitUntil(Done done);

    // A second handle on the station database, to look at the pool as another station would.
    [[nodiscard]] std::unique_ptr<StationStore> OpenStore() const;
    // The database file, in a folder of its own.
    [[nodiscard]] std::string DatabasePath() const;
    [[nodiscard]] QString Folder() const { return m_folder.path(); }

    StationWindow& Window() { return *m_window; }
    StationController& Controller() { return *m_controller; }

  private:
    QTemporaryDir m_folder;
    std::vector<std::unique_ptr<SimulatedModule>> m_modules;
    InjectedDeviceSource* m_arrivals = nullptr;
    std::unique_ptr<StationController> m_controller;
    std::unique_ptr<StationWindow> m_window;
};

bool WaitForCondition(const std::function<bool()>& done);

template <class Done>
bool StationRig::WaitUntil(Done done) {
    return WaitForCondition(done);
}
