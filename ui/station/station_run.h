#pragma once

#include <QObject>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "link/announced_ports.h"
#include "station/mac_source.h"
#include "station/module_record.h"
#include "station/pool_mac_source.h"
#include "station/port_batch.h"
#include "ui/station/slot_state.h"
#include "ui/station/station_setup.h"

class StationController;

// One run of the station, from Start to the end of its last module: the port batch, its MAC
// source and the record of each module. Batch events arrive on the programming threads; the
// store's work is done there, and only what the window shows is posted to the controller.
class StationRun {
  public:
    // `macs` is the source the batch takes MACs from; `pool` is the same source when it is the
    // store's pool. `store` may be null.
    StationRun(StationController& controller, const StationSetup& setup,
               std::unique_ptr<MacSource> macs, PoolMacSource* pool, StationStore* store);

    // Programs the module just plugged into `device`; `byPath` names the slot in the record.
    void Program(const std::string& device, const std::string& byPath);
    void Forget(const std::string& device) { m_batch.Forget(device); }
    // true once no module is being programmed (joins the finished threads, never waits).
    [[nodiscard]] bool Idle() { return m_batch.WaitFor(std::chrono::milliseconds(0)); }

  private:
    void OnBatchEvent(const BatchEvent& event);
    SlotUpdate Finish(const BatchEvent& event);
    void Keep(const ProductionRecord& record, const MacAddress& mac, bool succeeded);
    void Post(SlotUpdate update);

    StationController& m_controller;  // outlives the run
    const StationSetup m_setup;
    std::unique_ptr<MacSource> m_macs;
    PoolMacSource* m_pool;
    StationStore* m_store;              // safe for many threads
    const AnnouncedPorts m_fixedPorts;  // jobs are handed device paths, never COMn

    std::mutex m_attemptsMutex;
    std::map<std::string, ModuleAttempt> m_attempts;  // by device
    std::map<std::string, std::string> m_byPath;      // by device

    PortBatch m_batch;  // last: its threads end before the members above go
};
