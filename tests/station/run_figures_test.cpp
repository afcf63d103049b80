// A line's figures from the records of its attempts, read at given clocks: modules against
// attempts, failures with the modules turned away for lack of a MAC, and a pace that is not
// guessed from under a minute of work and falls when the line stops.
#include <gtest/gtest.h>

#include <vector>

#include "station/run_figures.h"

namespace {

constexpr std::int64_t kSecond = 1000;
constexpr std::int64_t kMinute = 60 * kSecond;

ProductionRecord Ended(std::int64_t endMs, const char* mac, const char* outcome = "ok",
                       const char* reason = "ok") {
    ProductionRecord record;
    record.timeStart = endMs - 150;
    record.timeEnd = endMs;
    record.macWritten = mac;
    record.outcome = outcome;
    record.reason = reason;
    return record;
}

// Two modules in the first second, each plugged in again later.
const std::vector<ProductionRecord> kTwoPluggedInTwice{
    Ended(900, "01"), Ended(900, "02"), Ended(6 * kSecond, "01", "skipped", "already_programmed"),
    Ended(6 * kSecond, "02", "skipped", "already_programmed")};

struct FiguresRow {
    const char* name;
    std::vector<ProductionRecord> records;
    std::int64_t nowMs;
    int modules, attempts, failed, noMac;
    std::optional<double> perHour;
};

class RunFiguresTest : public ::testing::TestWithParam<FiguresRow> {};

TEST_P(RunFiguresTest, CountsModulesAndAttemptsApartAndTellsThePaceItCanJudge) {
    const FiguresRow& row = GetParam();
    RunFigures figures;
    figures.Began(0);
    for (const ProductionRecord& record : row.records) {
        figures.Add(record);
    }
    EXPECT_EQ(figures.Modules(), row.modules);
    EXPECT_EQ(figures.Attempts(), row.attempts);
    EXPECT_EQ(figures.Failed(), row.failed);
    EXPECT_EQ(figures.NoMac(), row.noMac);
    const std::optional<double> perHour = figures.ModulesPerHour(row.nowMs);
    ASSERT_EQ(perHour.has_value(), row.perHour.has_value());
    if (perHour) {
        EXPECT_NEAR(*perHour, *row.perHour, 0.01);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Clocks, RunFiguresTest,
    ::testing::Values(FiguresRow{"UnderAMinuteOfWorkHasNoPace", kTwoPluggedInTwice, 7 * kSecond, 2,
                                 4, 0, 0, std::nullopt},
                      FiguresRow{"AfterTwoMinutesThePaceIsOverTwoMinutes", kTwoPluggedInTwice,
                                 2 * kMinute, 2, 4, 0, 0, 60.0},
                      FiguresRow{"ALineStoppedForAnHourFallsToNothing", kTwoPluggedInTwice,
                                 75 * kMinute, 2, 4, 0, 0, 0.0},
                      FiguresRow{"AReworkedModuleCountsOnce",
                                 {Ended(10 * kSecond, "01"), Ended(20 * kSecond, "01")},
                                 5 * kMinute,
                                 1,
                                 2,
                                 0,
                                 0,
                                 24.0},
                      FiguresRow{"ModulesTurnedAwayForLackOfAMacAreFailed",
                                 {Ended(10 * kSecond, "", "failed", "pool_empty"),
                                  Ended(30 * kSecond, "", "failed", "no_answer")},
                                 20 * kMinute,
                                 0,
                                 2,
                                 2,
                                 1,
                                 0.0},
                      FiguresRow{"ModulesTheOrderDidNotNeedAreNoFailures",
                                 {Ended(10 * kSecond, "01"),
                                  Ended(20 * kSecond, "", "skipped", "order_complete")},
                                 5 * kMinute,
                                 1,
                                 2,
                                 0,
                                 0,
                                 12.0},
                      FiguresRow{"ThePaceCountsTheLastQuarterHourOnly",
                                 {Ended(1 * kMinute, "01"), Ended(50 * kMinute, "02"),
                                  Ended(59 * kMinute, "03")},
                                 60 * kMinute,
                                 3,
                                 3,
                                 0,
                                 0,
                                 8.0}),
    [](const ::testing::TestParamInfo<FiguresRow>& info) { return info.param.name; });

}  // namespace
