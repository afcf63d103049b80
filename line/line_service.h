#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "line/event_hub.h"
#include "line/line_reader.h"
#include "line/store_worker.h"

namespace boost::asio {
class io_context;
}

// The line as the page sees it, kept on the thread that serves it: the latest snapshot, made
// again on the worker after each change of the store (once per change, whatever the number of
// viewers) and at each tick of the clock, and an event to every viewer when it changed.
class LineService {
  public:
    // `tick`: how often the clock alone refreshes the line (idle and offline come with time).
    LineService(boost::asio::io_context& io, StoreWorker& worker, LineReader& reader, EventHub& hub,
                std::chrono::milliseconds tick);
    ~LineService();

    // Starts watching the store, from the first refresh made before serving.
    void Start(LineReader::Refreshed first);

    [[nodiscard]] std::shared_ptr<const LineSnapshot> Snapshot() const { return m_snapshot; }
    [[nodiscard]] const std::string& Failure() const { return m_failure; }

    // Finds records on the worker; `done` runs on this thread.
    void FindRecords(const RecordQuery& query, std::function<void(StoreResult<std::string>)> done);

    // How often an SQLite file is asked for changes, and how often viewers hear a heartbeat.
    static constexpr std::chrono::seconds kPoll{1};
    static constexpr std::chrono::seconds kHeartbeat{15};

  private:
    void RequestRefresh();
    void Apply(LineReader::Refreshed refreshed);
    void CheckForChanges();
    void WatchChanges(int descriptor);
    void Tick();
    void Heartbeat();

    boost::asio::io_context& m_io;
    StoreWorker& m_worker;
    LineReader& m_reader;
    EventHub& m_hub;
    std::chrono::milliseconds m_tick;
    std::shared_ptr<const LineSnapshot> m_snapshot;
    std::string m_failure;
    bool m_refreshing = false;
    bool m_refreshAgain = false;
    // The timers and the watch of the store's announcements, kept out of this header.
    struct Waits;
    std::unique_ptr<Waits> m_waits;
};
