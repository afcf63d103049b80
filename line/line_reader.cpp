#include "line/line_reader.h"

#include <nlohmann/json.hpp>

#include "store/open_station_store.h"
#include "store/record_export.h"

namespace {

// The most record ids one refresh tells of; a larger burst is told over the next refreshes.
constexpr std::int64_t kNewRecordsMax = 5000;

}  // namespace

LineReader::LineReader(std::string url, LineThresholds thresholds, Clock clock)
    : m_url(std::move(url)), m_thresholds(thresholds), m_clock(std::move(clock)) {}

bool LineReader::Open() {
    auto store = OpenStationStoreForReading(m_url);
    if (!store.Ok()) {
        m_failure = store.message;
        return false;
    }
    auto changes = OpenStoreChangeSource(m_url);
    if (!changes.Ok()) {
        m_failure = changes.message;
        return false;
    }
    m_store = std::move(store.value);
    m_changes = std::move(changes.value);
    m_where = m_changes->Where();
    m_failure.clear();
    return true;
}

bool LineReader::Ready() {
    return (m_store && m_changes) || Open();
}

void LineReader::Lose(const std::string& failure) {
    m_failure = failure;
    m_store.reset();
    m_changes.reset();
}

StoreResult<LineState> LineReader::ReadState() {
    LineState state;
    state.nowMs = m_clock();
    state.fromMs = state.nowMs - m_thresholds.shiftMs;
    auto figures = m_store->Shift({.from = state.fromMs,
                                   .now = state.nowMs,
                                   .recentFromMs = state.nowMs - kRateWindowMs,
                                   .lastModules = m_thresholds.yieldAlarmModules});
    auto rows = m_store->Stations();
    auto orders = m_store->Orders();
    auto pool = m_store->Status();
    for (const std::string* failure :
         {&figures.message, &rows.message, &orders.message, &pool.message}) {
        if (!failure->empty()) {
            return StoreFailure(StoreOutcome::DatabaseFailed, *failure);
        }
    }
    state.figures = std::move(figures.value);
    state.rows = std::move(rows.value);
    state.orders = std::move(orders.value);
    state.pool = std::move(pool.value);
    return state;
}

LineReader::Refreshed LineReader::Refresh() {
    Refreshed refreshed;
    if (!Ready()) {
        refreshed.failure = m_failure;
        return refreshed;
    }
    StoreResult<LineState> state = ReadState();
    if (!state.Ok()) {
        Lose(state.message);
        refreshed.failure = m_failure;
        return refreshed;
    }
    if (!m_tracker) {
        m_tracker.emplace(state.value.figures.latestRecordId);
    }
    const auto ids = m_store->RecordIdsAfter(m_tracker->Floor(), kNewRecordsMax);
    if (!ids.Ok()) {
        Lose(ids.message);
        refreshed.failure = m_failure;
        return refreshed;
    }
    refreshed.newRecords = m_tracker->Take(ids.value, state.value.nowMs);
    refreshed.snapshot =
        std::make_shared<const LineSnapshot>(BuildSnapshot(state.value, m_where, m_thresholds));
    return refreshed;
}

StoreResult<std::string> LineReader::Records(const RecordQuery& query) {
    if (!Ready()) {
        return StoreFailure(StoreOutcome::DatabaseFailed, m_failure);
    }
    auto found = m_store->FindRecords(query);
    if (!found.Ok()) {
        Lose(found.message);
        return StoreFailure(found.outcome, found.message);
    }
    using Json = nlohmann::ordered_json;
    Json records = Json::array();
    for (const StoredRecord& stored : found.value) {
        Json record{{"id", stored.id}};
        record.update(Json::parse(RecordJsonLine(stored.record)));
        records.push_back(std::move(record));
    }
    const Json answer{{"limit", query.limit},
                      {"more", static_cast<std::int64_t>(found.value.size()) == query.limit},
                      {"records", records}};
    return answer.dump(-1, ' ', false, Json::error_handler_t::replace);
}

bool LineReader::Changed() {
    if (!Ready()) {
        return false;
    }
    const StoreResult<bool> changed = m_changes->Changed();
    if (!changed.Ok()) {
        Lose(changed.message);
        return true;  // a refresh tells the page that the store is lost
    }
    return changed.value;
}

int LineReader::ChangeDescriptor() const {
    return m_changes ? m_changes->Descriptor() : -1;
}
