#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "line/line_snapshot.h"
#include "line/line_thresholds.h"
#include "line/record_id_tracker.h"
#include "store/record_query.h"
#include "store/station_store.h"
#include "store/store_change_source.h"

// The line as the store tells it, read on one thread (the StoreWorker's). Opens the store
// for reading only, and opens it again after it failed.
class LineReader {
  public:
    using Clock = std::function<std::int64_t()>;  // milliseconds since 1970 UTC

    LineReader(std::string url, LineThresholds thresholds, Clock clock);

    // Opens the store and its change source; false with the reason in Failure() when either
    // does not open.
    [[nodiscard]] bool Open();

    struct Refreshed {
        std::shared_ptr<const LineSnapshot> snapshot;  // nothing when the store failed
        std::vector<std::int64_t> newRecords;          // ids stored since the last refresh
        std::string failure;
    };
    // Reads the line's state and the records stored since the last refresh.
    [[nodiscard]] Refreshed Refresh();

    // The records `query` finds as the JSON text of /api/records.
    [[nodiscard]] StoreResult<std::string> Records(const RecordQuery& query);

    // Whether the store changed since the last asking; false when it cannot tell.
    [[nodiscard]] bool Changed();
    // What to watch for the store's announcements; -1 when it must be asked.
    [[nodiscard]] int ChangeDescriptor() const;

    [[nodiscard]] const std::string& Failure() const { return m_failure; }
    // The store as it may be shown; known once it has opened.
    [[nodiscard]] const StoreWhereabouts& Where() const { return m_where; }

  private:
    [[nodiscard]] bool Ready();
    [[nodiscard]] StoreResult<LineState> ReadState();
    void Lose(const std::string& failure);

    std::string m_url;
    LineThresholds m_thresholds;
    Clock m_clock;
    std::unique_ptr<StationStore> m_store;
    std::unique_ptr<StoreChangeSource> m_changes;
    StoreWhereabouts m_where;
    std::optional<RecordIdTracker> m_tracker;
    std::string m_failure;
};
