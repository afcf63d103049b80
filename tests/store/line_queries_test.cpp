// The line's read side of StationStore, against SQLite and PostgreSQL alike: records found by
// their criteria, the shift's figures at given clocks, reading without writing, and the store
// telling of its changes.
#include <gtest/gtest.h>
#include <poll.h>

#include <string>
#include <vector>

#include "store/open_station_store.h"
#include "store/station_store.h"
#include "store/store_change_source.h"
#include "tests/store/store_test.h"

namespace {

constexpr std::int64_t kMinute = 60'000;
constexpr std::int64_t kHour = 60 * kMinute;
// 2026-03-02 08:00 UTC, the start of the shift in every test.
constexpr std::int64_t kShiftStart = 1'772'438'400'000;

struct Attempt {
    std::int64_t minute;  // after the shift's start
    const char* station;
    const char* reason;  // empty: the module passed
    const char* macWritten = "";
    const char* macBefore = "";
    bool rework = false;
    const char* order = "";
};

// A module left alone as programmed before.
constexpr const char* kSkipped = "already_programmed";

ProductionRecord RecordOf(const Attempt& attempt) {
    ProductionRecord record;
    record.timeStart = kShiftStart + attempt.minute * kMinute;
    record.timeEnd = record.timeStart + 150;
    record.station = attempt.station;
    record.port = "/dev/ttyUSB0";
    record.macWritten = attempt.macWritten;
    record.macBefore = attempt.macBefore;
    record.outcome = *attempt.reason == '\0'                   ? "ok"
                     : std::string(attempt.reason) == kSkipped ? "skipped"
                                                               : "failed";
    record.reason = attempt.reason;
    record.rework = attempt.rework;
    record.order = attempt.order;
    return record;
}

// A shift of two stations: "east" works all along, "west" stopped after its first hour.
const std::vector<Attempt> kShift{
    {0, "west", ""},
    {1, "west", "no_answer"},
    {2, "west", "", "4C:56:00:00:00:02", "11:22:33:00:00:00"},
    {61, "east", "", "4C:56:00:00:00:03"},
    {61, "east", "crc_mismatch"},
    {62, "east", "no_answer", "", "4C:56:00:00:00:02"},
    {63, "east", ""},
    {64, "east", "no_answer"},
    {65, "east", "", "", "", false, "PO-1"},
    // Neither counts in a yield: a rework that failed and a module left alone.
    {66, "east", "no_answer", "", "", true},
    {66, "east", kSkipped},
};

// A query by the criteria the page offers; the rest as given.
RecordQuery Query(std::int64_t limit, std::string station = "", std::string outcome = "",
                  std::string mac = "") {
    RecordQuery query;
    query.limit = limit;
    query.station = std::move(station);
    query.outcome = std::move(outcome);
    query.mac = std::move(mac);
    return query;
}

class LineQueries : public StoreTest {
  protected:
    void SetUp() override {
        StoreTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        m_store = Open();
        ASSERT_TRUE(m_store);
        for (const Attempt& attempt : kShift) {
            ASSERT_TRUE(m_store->AddRecord(RecordOf(attempt)).Ok());
        }
    }

    // Each found record as "station@minute".
    std::vector<std::string> Found(const RecordQuery& query) {
        const auto found = m_store->FindRecords(query);
        EXPECT_TRUE(found.Ok()) << found.message;
        std::vector<std::string> names;
        for (const StoredRecord& stored : found.value) {
            names.push_back(stored.record.station + "@" +
                            std::to_string((stored.record.timeStart - kShiftStart) / kMinute));
        }
        return names;
    }

    std::unique_ptr<StationStore> m_store;
};

TEST_P(LineQueries, FindsRecordsNewestFirstByEveryCriterionWithinTheLimit) {
    using Names = std::vector<std::string>;
    EXPECT_EQ(Found(Query(3)), (Names{"east@66", "east@66", "east@65"}));
    RecordQuery since = Query(10);
    since.since = kShiftStart + 64 * kMinute;
    EXPECT_EQ(Found(since), (Names{"east@66", "east@66", "east@65", "east@64"}));
    EXPECT_EQ(Found(Query(10, "west", "ok")), (Names{"west@2", "west@0"}));
    // "Which module is this": the MAC it was given, or the one it had when it came.
    EXPECT_EQ(Found(Query(10, "", "", "4C:56:00:00:00:02")), (Names{"east@62", "west@2"}));
    EXPECT_EQ(Found(Query(10, "nobody")), Names{});
    RecordQuery order = Query(10);
    order.order = "PO-1";
    EXPECT_EQ(Found(order), Names{"east@65"});
    EXPECT_EQ(m_store->FindRecords(Query(kRecordQueryLimitMax + 1)).outcome,
              StoreOutcome::DatabaseFailed);

    const auto all = m_store->FindRecords(Query(100));
    ASSERT_EQ(all.value.size(), kShift.size());
    EXPECT_EQ(all.value.back().record, RecordOf(kShift[0]));
    const std::int64_t third = all.value[all.value.size() - 3].id;
    RecordQuery after = Query(10, "west");
    after.afterId = third;
    EXPECT_EQ(Found(after), Names{});
    const auto ids = m_store->RecordIdsAfter(third, 2);
    ASSERT_TRUE(ids.Ok()) << ids.message;
    EXPECT_EQ(ids.value, (std::vector<std::int64_t>{third + 1, third + 2}));
}

TEST_P(LineQueries, CountsTheShiftByMinuteHourReasonAndStation) {
    const auto figures = m_store->Shift({.from = kShiftStart,
                                         .now = kShiftStart + 70 * kMinute,
                                         .recentFromMs = kShiftStart + 64 * kMinute,
                                         .lastModules = 3});
    ASSERT_TRUE(figures.Ok()) << figures.message;
    const ShiftFigures& shift = figures.value;
    const std::int64_t firstMinute = kShiftStart / kMinute;
    std::vector<std::pair<std::int64_t, std::int64_t>> minutes;
    for (const MinuteCount& count : shift.minutes) {
        minutes.emplace_back(count.minute - firstMinute, count.passed);
    }
    EXPECT_EQ(minutes, (decltype(minutes){{0, 1}, {2, 1}, {61, 1}, {63, 1}, {65, 1}}));
    ASSERT_EQ(shift.hours.size(), 2u);
    EXPECT_EQ(shift.hours[0].hour, kShiftStart / kHour);
    EXPECT_EQ(shift.hours[0].attempts, 3);
    EXPECT_EQ(shift.hours[0].passed, 2);
    EXPECT_EQ(shift.hours[1].attempts, 6);
    EXPECT_EQ(shift.hours[1].passed, 3);
    ASSERT_EQ(shift.pareto.size(), 2u);  // a module left alone is no failure
    EXPECT_EQ(shift.pareto[0].reason, "no_answer");
    EXPECT_EQ(shift.pareto[0].count, 4);
    EXPECT_EQ(shift.pareto[1].reason, "crc_mismatch");

    ASSERT_EQ(shift.stations.size(), 2u);
    const StationFigures& east = shift.stations[0];
    EXPECT_EQ(east.station, "east");
    EXPECT_EQ(east.attempts, 7);
    EXPECT_EQ(east.passed, 3);
    EXPECT_EQ(east.firstAttempts, 6);
    EXPECT_EQ(east.firstPassed, 3);
    EXPECT_EQ(east.recentPassed, 1);
    EXPECT_EQ(east.lastModuleMs, kShiftStart + 66 * kMinute);
    EXPECT_EQ(east.lastAttempts, 3);
    EXPECT_EQ(east.lastPassed, 2);
    EXPECT_EQ(east.lastFailureReason, "no_answer");
    EXPECT_EQ(east.lastFailureMs, kShiftStart + 66 * kMinute);
    const StationFigures& west = shift.stations[1];
    EXPECT_EQ(west.station, "west");
    EXPECT_EQ(west.recentPassed, 0);
    EXPECT_EQ(west.lastModuleMs, kShiftStart + 2 * kMinute);
    EXPECT_EQ(west.lastFailureReason, "no_answer");
    // An order's own pace counts its modules passed since the recent rate's start.
    ASSERT_EQ(shift.orders.size(), 1u);
    EXPECT_EQ(shift.orders[0].order, "PO-1");
    EXPECT_EQ(shift.orders[0].recentPassed, 1);
    EXPECT_GT(shift.latestRecordId, 0);

    // A later shift has seen nothing yet.
    const auto later = m_store->Shift({.from = kShiftStart + 8 * kHour,
                                       .now = kShiftStart + 9 * kHour,
                                       .recentFromMs = kShiftStart + 9 * kHour,
                                       .lastModules = 3});
    ASSERT_TRUE(later.Ok()) << later.message;
    EXPECT_TRUE(later.value.minutes.empty() && later.value.stations.empty());
    EXPECT_EQ(later.value.latestRecordId, shift.latestRecordId);
}

TEST_P(LineQueries, AStoreOpenedForReadingReadsButNeverWrites) {
    const auto reading = OpenStationStoreForReading(Url());
    ASSERT_TRUE(reading.Ok()) << reading.message;
    StationStore& store = *reading.value;
    EXPECT_EQ(store.FindRecords(Query(100)).value.size(), kShift.size());
    EXPECT_TRUE(store.Stations().Ok());
    EXPECT_TRUE(store.Orders().Ok());
    EXPECT_FALSE(store.AddRecord(RecordOf(kShift[0])).Ok());
    EXPECT_FALSE(store.AddRange(0x10, 4).Ok());
    EXPECT_FALSE(store.KeepStationRow(StationRow{}).Ok());
    EXPECT_EQ(m_store->FindRecords(Query(100)).value.size(), kShift.size());
}

TEST_P(LineQueries, TheChangeSourceTellsOfEachCommittedRecordAndStationRefreshOnce) {
    auto opened = OpenStoreChangeSource(Url());
    ASSERT_TRUE(opened.Ok()) << opened.message;
    StoreChangeSource& source = *opened.value;
    EXPECT_FALSE(source.Changed().value);
    const auto told = [&source] {
        if (source.Descriptor() >= 0) {
            pollfd watched{source.Descriptor(), POLLIN, 0};
            EXPECT_EQ(::poll(&watched, 1, 10'000), 1);
        }
        return source.Changed().value;
    };
    ASSERT_TRUE(m_store->AddRecord(RecordOf(kShift[0])).Ok());
    EXPECT_TRUE(told());
    EXPECT_FALSE(source.Changed().value);
    StationRow row;
    row.station = "line-1";
    row.state = StationState::Running;
    ASSERT_TRUE(m_store->KeepStationRow(row).Ok());
    EXPECT_TRUE(told());
    EXPECT_FALSE(source.Changed().value);
    EXPECT_FALSE(source.Where().database.empty());
    EXPECT_EQ(source.Where().kind, GetParam() == BackendKind::Sqlite ? "sqlite" : "postgresql");
}

using LineStoreOpening = StoreTest;

TEST_P(LineStoreOpening, ReadingRefusesAStoreThatIsMissingOrOfAnOlderSchema) {
    const auto missing = OpenStationStoreForReading(Url());
    if (GetParam() == BackendKind::Sqlite) {
        ASSERT_FALSE(missing.Ok());
        EXPECT_NE(missing.message.find("first run"), std::string::npos) << missing.message;
    } else {
        EXPECT_FALSE(missing.Ok());
    }
    ASSERT_TRUE(Open(1));
    const auto older = OpenStationStoreForReading(Url());
    ASSERT_FALSE(older.Ok());
    EXPECT_NE(older.message.find("schema version 1"), std::string::npos) << older.message;
}

}  // namespace

INSTANTIATE_FOR_BOTH_BACKENDS(LineQueries);
INSTANTIATE_FOR_BOTH_BACKENDS(LineStoreOpening);
