#include "cli/batch_record_keeper.h"

#include <utility>

#include "cli/port_by_path.h"

BatchRecordKeeper::BatchRecordKeeper(StationStore& store, PoolMacSource* pool,
                                     const StationDbOptions& options, ModuleAttempt attempt,
                                     Output& out, std::function<void()> poolStopped)
    : m_store(store),
      m_pool(pool),
      m_options(options),
      m_attempt(std::move(attempt)),
      m_out(out),
      m_poolStopped(std::move(poolStopped)) {}

bool BatchRecordKeeper::OnBatchEvent(const BatchEvent& event) {
    switch (event.kind) {
        case BatchEventKind::Started:
            m_started[event.port] = RecordClockNow();
            return true;
        case BatchEventKind::Finished:
            Finished(event);
            return true;
        case BatchEventKind::NoMacLeft:
            if (m_pool != nullptr) {
                PoolStopped(event.port);
                return false;
            }
            return true;
        case BatchEventKind::Stage:
            break;
    }
    return true;
}

void BatchRecordKeeper::Finished(const BatchEvent& event) {
    ModuleAttempt attempt = m_attempt;
    attempt.port = event.port;
    const std::string& device = event.result->port.device;
    attempt.portByPath = PortByPathName(device.empty() ? event.port : device);
    attempt.mac = event.mac;
    attempt.timeEnd = RecordClockNow();
    const auto started = m_started.find(event.port);
    attempt.timeStart = started != m_started.end() ? started->second : attempt.timeEnd;
    const ProductionRecord record = RecordOfJob(attempt, *event.result);
    StoreStatus kept;
    if (m_pool != nullptr && event.mac) {
        kept =
            m_pool->Settle(*event.mac, event.result->outcome == ModuleOutcome::Succeeded, record);
    } else {
        kept = m_store.AddRecord(record);
    }
    if (!kept.Ok()) {
        StoreFailed(kept);
    }
    if (m_pool != nullptr && m_pool->Stopped() && m_poolStopped) {
        m_poolStopped();
    }
}

void BatchRecordKeeper::PoolStopped(const std::string& port) {
    const StoreStatus why = m_pool->Stopped().value_or(
        StoreFailure(StoreOutcome::DatabaseFailed, "the MAC pool stopped"));
    StoreFailed(why);
    if (m_poolStopped) {
        m_poolStopped();
    }
    const bool empty = why.outcome == StoreOutcome::PoolEmpty;
    const std::string text = port + ": not programmed, " +
                             (empty ? "no MAC is left in the pool" : "the station database failed");
    m_out.Failure({{"event", "failed"},
                   {"port", port},
                   {"mac", nullptr},
                   {"reason", empty ? "pool_empty" : "store_failed"},
                   {"message", text}},
                  text);
}

// Told once: every later step meets the same failure.
void BatchRecordKeeper::StoreFailed(const StoreStatus& status) {
    m_worst = ExitCode::StoreFailed;
    if (m_failureTold) {
        return;
    }
    m_failureTold = true;
    ReportStoreFailure(m_out, m_options, status);
}
