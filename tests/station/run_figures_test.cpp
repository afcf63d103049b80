// A line's figures from the records of its attempts, read at given clocks: modules against
// attempts, failures with the modules turned away for lack of a MAC, and a pace that is not
// guessed from under a minute of work and falls when the line stops.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "station/run_figures.h"

namespace {

constexpr std::int64_t kSecond = 1000;
constexpr std::int64_t kMinute = 60 * kSecond;

ProductionRecord Attempt(std::int64_t endMs, const char* outcome, const char* reason,
                         const char* mac) {
    ProductionRecord record;
    record.timeStart = endMs - 150;
    record.timeEnd = endMs;
    record.outcome = outcome;
    record.reason = reason;
    record.macWritten = mac;
    return record;
}

ProductionRecord Ok(std::int64_t endMs, const char* mac) {
    return Attempt(endMs, "ok", "ok", mac);
}

struct FiguresRow {
    const char* name;
    std::vector<ProductionRecord> records;
    std::int64_t nowMs;
    int modules;
    int attempts;
    int failed;
    int noMac;
    std::optional<double> perHour;
};

void PrintTo(const FiguresRow& row, std::ostream* out) {
    *out << row.name;
}

std::string RowName(const ::testing::TestParamInfo<FiguresRow>& info) {
    return info.param.name;
}

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

// Eight modules in the first second, each plugged in again later.
std::vector<ProductionRecord> EightModulesPluggedInTwice() {
    std::vector<ProductionRecord> records;
    const char* macs[] = {"01", "02", "03", "04", "05", "06", "07", "08"};
    for (const char* mac : macs) {
        records.push_back(Ok(900, mac));
    }
    for (const char* mac : macs) {
        records.push_back(Attempt(6 * kSecond, "skipped", "already_programmed", mac));
    }
    return records;
}

INSTANTIATE_TEST_SUITE_P(
    Clocks, RunFiguresTest,
    ::testing::Values(
        FiguresRow{"NothingYet", {}, 10 * kSecond, 0, 0, 0, 0, std::nullopt},
        FiguresRow{"UnderAMinuteOfWorkHasNoPace", EightModulesPluggedInTwice(), 7 * kSecond, 8, 16,
                   0, 0, std::nullopt},
        FiguresRow{"AfterTwoMinutesThePaceIsOverTwoMinutes", EightModulesPluggedInTwice(),
                   2 * kMinute, 8, 16, 0, 0, 240.0},
        FiguresRow{"ALineStoppedForAnHourFallsToNothing", EightModulesPluggedInTwice(),
                   75 * kMinute, 8, 16, 0, 0, 0.0},
        FiguresRow{"AReworkedModuleCountsOnce",
                   {Ok(10 * kSecond, "01"), Ok(20 * kSecond, "01"), Ok(30 * kSecond, "02")},
                   5 * kMinute,
                   2,
                   3,
                   0,
                   0,
                   36.0},
        FiguresRow{"ModulesTurnedAwayForLackOfAMacAreFailed",
                   {Ok(10 * kSecond, "01"), Attempt(20 * kSecond, "failed", "pool_empty", ""),
                    Attempt(30 * kSecond, "failed", "no_answer", "")},
                   20 * kMinute,
                   1,
                   3,
                   2,
                   1,
                   0.0},
        FiguresRow{"ThePaceCountsTheLastQuarterHourOnly",
                   {Ok(1 * kMinute, "01"), Ok(50 * kMinute, "02"), Ok(55 * kMinute, "03"),
                    Ok(59 * kMinute, "04")},
                   60 * kMinute,
                   4,
                   4,
                   0,
                   0,
                   12.0}),
    RowName);

TEST(RunFiguresSpan, WithoutABeginningStartsAtTheFirstAttempt) {
    RunFigures figures;
    figures.Add(Ok(10 * kMinute, "01"));
    EXPECT_EQ(figures.ModulesPerHour(10 * kMinute + 30 * kSecond), std::nullopt);
    EXPECT_NEAR(*figures.ModulesPerHour(12 * kMinute), 30.0, 0.1);
}

}  // namespace
