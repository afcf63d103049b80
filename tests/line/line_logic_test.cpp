// What lvcfg-line computes from the store's answers, at given clocks: station states, alarms,
// the rolling rate, the record query of /api/records, new record ids and event ids.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "line/event_log.h"
#include "line/line_alarms.h"
#include "line/record_id_tracker.h"
#include "line/record_query_params.h"
#include "line/rolling_rate.h"
#include "line/station_tile.h"

namespace {

constexpr std::int64_t kNow = 1'772'438'400'000;
constexpr std::int64_t kSecond = 1000;
constexpr std::int64_t kMinute = 60 * kSecond;

struct TileCase {
    const char* name;
    std::optional<StationState> rowState;  // nothing: the station keeps no row
    std::int64_t lastSeenAgo;
    std::int64_t lastModuleAgo;  // 0: no module in the shift
    TileState expected;
};

const TileCase kTileCases[] = {
    {"ModuleAMinuteAgoIsRunning", std::nullopt, 0, 1 * kMinute, TileState::Running},
    {"NoModuleForFiveMinutesIsIdle", std::nullopt, 0, 5 * kMinute, TileState::Idle},
    {"RefreshedRowWithRecentModuleIsRunning", StationState::Running, 5 * kSecond, 10 * kSecond,
     TileState::Running},
    {"RefreshedRowWithoutModulesIsIdle", StationState::Running, 5 * kSecond, 0, TileState::Idle},
    {"RowNotRefreshedForThreeIntervalsIsOffline", StationState::Running, 16 * kSecond, 10 * kSecond,
     TileState::Offline},
    {"StoppingRowLeftBehindIsOffline", StationState::Stopping, 16 * kSecond, 0, TileState::Offline},
    {"StoppedRowIsStoppedHoweverOld", StationState::Stopped, 600 * kMinute, 0, TileState::Stopped},
};

class StationTileState : public testing::TestWithParam<TileCase> {};

TEST_P(StationTileState, FollowsTheRowAndTheLatestModuleAtTheClock) {
    const TileCase& c = GetParam();
    std::vector<StationRow> rows;
    if (c.rowState) {
        StationRow row;
        row.station = "east";
        row.state = *c.rowState;
        row.startedMs = kNow - 60 * kMinute;
        row.lastSeenMs = kNow - c.lastSeenAgo;
        rows.push_back(row);
    }
    std::vector<StationFigures> figures;
    if (c.lastModuleAgo > 0) {
        StationFigures east;
        east.station = "east";
        east.attempts = east.passed = 1;
        east.lastModuleMs = kNow - c.lastModuleAgo;
        figures.push_back(east);
    }
    const auto tiles = StationTiles(rows, figures, kNow, LineThresholds{});
    ASSERT_EQ(tiles.size(), 1u);
    EXPECT_EQ(TileStateWord(tiles[0].state), std::string(TileStateWord(c.expected)));
}

INSTANTIATE_TEST_SUITE_P(Clocks, StationTileState, testing::ValuesIn(kTileCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LineAlarms, RaiseEachKindAtItsThresholdAndNotBelow) {
    LineThresholds limits;
    limits.yieldAlarmModules = 10;
    const auto tile = [](const char* name, TileState state, std::int64_t quietMs = 0,
                         std::int64_t lastAttempts = 0, std::int64_t lastPassed = 0) {
        StationTile made;
        made.station = name;
        made.state = state;
        made.quietMs = quietMs;
        made.figures.lastAttempts = lastAttempts;
        made.figures.lastPassed = lastPassed;
        return made;
    };
    const StationTile gone = tile("gone", TileState::Offline);
    const StationTile quiet = tile("quiet", TileState::Idle, 15 * kMinute);
    const StationTile resting = tile("resting", TileState::Idle, 14 * kMinute);
    const StationTile failing = tile("failing", TileState::Running, 0, 10, 8);
    const StationTile young = tile("young", TileState::Running, 0, 9, 0);  // too few to judge
    PoolStatus pool;
    pool.ranges.push_back({0x10, 1000});
    pool.free = 99;
    std::vector<PacedOrder> orders(2);
    orders[0].row.name = "PO-7";
    orders[1].row.name = "PO-8";
    orders[0].row.quantity = orders[1].row.quantity = 100;
    orders[0].row.verified = 91;
    orders[1].row.verified = 95;
    orders[1].row.state = OrderState::Closed;
    orders[0].perHour = 18;  // its own pace, not the line's

    const auto alarms =
        LineAlarms({gone, quiet, resting, failing, young}, orders, pool, 120.0, limits);
    std::vector<std::string> raised;
    for (const LineAlarm& alarm : alarms) {
        raised.push_back(alarm.kind + ":" + alarm.subject);
    }
    EXPECT_EQ(raised,
              (std::vector<std::string>{"station_offline:gone", "station_idle:quiet",
                                        "low_yield:failing", "pool_low:", "order_low:PO-7"}));
    EXPECT_EQ(alarms[3].text, "Only 99 MACs left in the pool, about 49 min at the current rate");
    EXPECT_EQ(alarms[4].text, "Order PO-7: only 9 modules left, about 30 min at the current rate");
}

TEST(RollingRate, CountsTheFiveMinutesUpToEachMinuteAsUnitsPerHour) {
    const std::int64_t start = kNow / kMinute;
    const std::vector<MinuteCount> passes{{start, 2}, {start + 2, 3}, {start + 6, 1}};
    const auto points = RollingRate(passes, kNow, kNow + 7 * kMinute + 30 * kSecond);
    std::vector<double> perHour;
    for (const RatePoint& point : points) {
        perHour.push_back(point.perHour);
    }
    EXPECT_EQ(perHour, (std::vector<double>{24, 24, 60, 60, 60, 36, 48, 12}));
    EXPECT_EQ(points.back().timeMs, kNow + 7 * kMinute);
}

TEST(RecordIdTracker, TellsALateCommitOnceAndForgetsIdsThatNeverCome) {
    RecordIdTracker tracker(10);
    EXPECT_EQ(tracker.Take({11, 13}, kNow), (std::vector<std::int64_t>{11, 13}));
    EXPECT_EQ(tracker.Floor(), 11);  // 12 may still commit
    EXPECT_EQ(tracker.Take({12, 13, 14}, kNow + kSecond), (std::vector<std::int64_t>{12, 14}));
    EXPECT_EQ(tracker.Floor(), 14);
    EXPECT_EQ(tracker.Take({16}, kNow), (std::vector<std::int64_t>{16}));
    EXPECT_EQ(tracker.Take({16}, kNow + RecordIdTracker::kAwaitMs + kSecond),
              std::vector<std::int64_t>{});
    EXPECT_EQ(tracker.Floor(), 16);
}

TEST(EventLog, ReplaysWhatAViewerMissedOrAsksItToResynchronise) {
    EventLog log("run", 2);
    EXPECT_EQ(*log.Marker("hello"), "id: run-0\nevent: hello\ndata: {}\n\n");
    log.Publish("change", "{\"records\":[1]}");
    log.Publish("change", "{\"records\":[2]}");
    log.Publish("change", "{\"records\":[3]}");
    const auto missed = log.After("run-1");
    ASSERT_TRUE(missed);
    ASSERT_EQ(missed->size(), 2u);
    EXPECT_EQ(*missed->front(), "id: run-2\nevent: change\ndata: {\"records\":[2]}\n\n");
    EXPECT_TRUE(log.After("run-3")->empty());
    for (const char* unknown : {"run-0", "run-4", "other-2", "run-", "run-2x", ""}) {
        EXPECT_FALSE(log.After(unknown)) << unknown;
    }
}

struct QueryCase {
    const char* name;
    const char* text;
    const char* error;  // empty: accepted
};

const QueryCase kQueryCases[] = {
    {"Nothing", "", ""},
    {"EveryCriterion",
     "since=2026-03-01T08%3A00Z&station=east+2&outcome=failed&order=PO-1&mac=4c-56-00-01-00-2a"
     "&limit=1000",
     ""},
    {"EmptyValuesAreNotGiven", "station=&mac=&limit=", ""},
    {"SinceInMilliseconds", "since=1772438400000", ""},
    {"LimitZero", "limit=0", "limit is a number from 1 to 1000"},
    {"LimitPastTheBound", "limit=1001", "limit is a number from 1 to 1000"},
    {"LimitNotANumber", "limit=ten", "limit is a number from 1 to 1000"},
    {"UnknownOutcome", "outcome=maybe", "outcome is ok or failed"},
    {"MacTooShort", "mac=4C:56:00:01:00", "mac is six bytes in hex, such as 4C:56:00:01:00:2A"},
    {"SinceNotATime", "since=yesterday", "since is a time such as 2026-03-01T08:00Z"},
    {"UnknownParameter", "colour=red", "unknown parameter colour"},
    {"GivenTwice", "station=a&station=b", "station is given twice"},
    {"BadEncoding", "station=%zz", "a parameter is not properly encoded"},
};

class RecordQueryText : public testing::TestWithParam<QueryCase> {};

TEST_P(RecordQueryText, IsReadOrRefusedWithAReason) {
    const RecordQueryParams params = ParseRecordQueryParams(GetParam().text);
    EXPECT_EQ(params.error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(Texts, RecordQueryText, testing::ValuesIn(kQueryCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RecordQueryText, ReadsEveryCriterionAsTheStoreHoldsIt) {
    const RecordQuery query = ParseRecordQueryParams(kQueryCases[1].text).query;
    EXPECT_EQ(query.since, 1'772'352'000'000);
    EXPECT_EQ(query.station, "east 2");
    EXPECT_EQ(query.outcome, "failed");
    EXPECT_EQ(query.order, "PO-1");
    EXPECT_EQ(query.mac, "4C:56:00:01:00:2A");
    EXPECT_EQ(query.limit, 1000);
}

}  // namespace
