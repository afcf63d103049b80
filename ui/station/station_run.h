#pragma once

#include <memory>
#include <string>

#include "station/production_run.h"
#include "ui/station/slot_state.h"

class StationController;

// The window's side of a production run: each event of the run becomes what a tile shows, a
// record for the table and the chart, the pool's free count and the start MAC to show next,
// posted to the controller on the window's thread. The run does all the work on its threads.
class StationRun {
  public:
    // Starts the run on `store` (safe for many threads, outliving the run). An empty text when
    // it started; otherwise why not, and nothing was written.
    [[nodiscard]] static std::unique_ptr<StationRun> Start(StationController& controller,
                                                           StationStore& store, RunSetup setup,
                                                           bool fromPool, QString& refusal);

    void Program(const std::string& device) {
        (void)m_run->Program(device, PortBatch::WhenBusy::Queue);
    }
    void Forget(const std::string& device) { m_run->Forget(device); }
    [[nodiscard]] std::size_t InFlight() const { return m_run->Running(); }
    void BeginStop() { m_run->BeginStop(); }
    // true once no module is being programmed (joins the finished threads, never waits).
    [[nodiscard]] bool Idle() { return m_run->WaitFor(std::chrono::milliseconds(0)); }

  private:
    StationRun(StationController& controller, StationStore& store, bool fromPool);

    void OnRunEvent(const RunEvent& event);
    void Ended(const RunEvent& event);
    void Post(SlotUpdate update);

    StationController& m_controller;  // outlives the run
    StationStore& m_store;
    const bool m_fromPool;
    std::unique_ptr<ProductionRun> m_run;  // last: its threads end before the members above go
};
