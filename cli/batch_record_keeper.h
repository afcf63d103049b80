#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "cli/exit_codes.h"
#include "cli/output.h"
#include "cli/station_db.h"
#include "station/module_record.h"
#include "station/pool_mac_source.h"
#include "station/port_batch.h"

// Keeps the production record of a batch: one row per module attempt, committed with the end
// of the module's reservation when the MACs come from the pool (`pool` not null), or on its
// own otherwise. Tells when the pool stopped handing out MACs (empty, or the store failed):
// those ports were not touched, and the run ends with ExitCode::StoreFailed.
class BatchRecordKeeper {
  public:
    // `context` gives station, config file and verify; its port and times are each module's.
    // `poolStopped`, when given, is called once when the pool stops handing out MACs.
    BatchRecordKeeper(StationStore& store, PoolMacSource* pool, const StationDbOptions& options,
                      ModuleAttempt attempt, Output& out, std::function<void()> poolStopped = {});

    // Called by the batch's listener before the report hears of the event (PortBatch calls
    // it from one thread at a time). false when the keeper has told of the event itself.
    bool OnBatchEvent(const BatchEvent& event);

    [[nodiscard]] ExitCode Worst() const { return m_worst; }

  private:
    void Finished(const BatchEvent& event);
    void PoolStopped(const std::string& port);
    void StoreFailed(const StoreStatus& status);

    StationStore& m_store;
    PoolMacSource* m_pool;
    const StationDbOptions& m_options;
    const ModuleAttempt m_attempt;
    Output& m_out;
    const std::function<void()> m_poolStopped;
    std::map<std::string, std::int64_t> m_started;  // by port: when its module's attempt began
    bool m_failureTold = false;
    ExitCode m_worst = ExitCode::Success;
};
