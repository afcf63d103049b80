#include "cli/batch_record_keeper.h"

#include <utility>

BatchRecordKeeper::BatchRecordKeeper(StationStore& store, PoolMacSource* pool,
                                     const StationDbOptions& options, AttemptContext context,
                                     Output& out)
    : m_store(store), m_pool(pool), m_options(options), m_context(std::move(context)), m_out(out) {}

bool BatchRecordKeeper::OnBatchEvent(const BatchEvent& event) {
    switch (event.kind) {
        case BatchEventKind::Started:
            m_started[event.port] = NowMilliseconds();
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
    AttemptContext context = m_context;
    context.port = event.port;
    context.timeEnd = NowMilliseconds();
    const auto started = m_started.find(event.port);
    context.timeStart = started != m_started.end() ? started->second : context.timeEnd;
    const ProductionRecord record = RecordOfJob(context, *event.result);
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
}

void BatchRecordKeeper::PoolStopped(const std::string& port) {
    const StoreStatus why = m_pool->Stopped().value_or(
        StoreFailure(StoreOutcome::DatabaseFailed, "the MAC pool stopped"));
    StoreFailed(why);
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
