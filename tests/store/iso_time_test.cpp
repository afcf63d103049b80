#include "store/iso_time.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

// 2026-03-01T08:15:02.047Z
constexpr std::int64_t kMorning = 1772352902047;

struct TimeText {
    const char* name;
    const char* text;
    std::optional<std::int64_t> time;
};

void PrintTo(const TimeText& row, std::ostream* out) {
    *out << row.name;
}

class IsoTimeParsing : public testing::TestWithParam<TimeText> {};

TEST_P(IsoTimeParsing, ReadsTheTimeInUtc) {
    EXPECT_EQ(ParseIsoUtc(GetParam().text), GetParam().time);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, IsoTimeParsing,
    testing::Values(
        TimeText{"FullUtc", "2026-03-01T08:15:02.047Z", kMorning},
        TimeText{"FractionLongerThanMilliseconds", "2026-03-01T08:15:02.0479Z", kMorning},
        TimeText{"PositiveOffset", "2026-03-01T09:15:02.047+01:00", kMorning},
        TimeText{"NegativeOffsetWithoutColon", "2026-03-01T03:15:02.047-0500", kMorning},
        TimeText{"NoZoneIsUtc", "2026-03-01 08:15:02.047", kMorning},
        TimeText{"MinutesOnly", "2026-03-01T08:15Z", kMorning - 2047},
        TimeText{"DateOnly", "2026-03-01", kMorning - (8 * 3600 + 15 * 60 + 2) * 1000 - 47},
        TimeText{"Epoch", "1970-01-01T00:00:00Z", 0},
        TimeText{"LeapDay", "2028-02-29", 1835395200000},
        TimeText{"NoLeapDay", "2026-02-29", std::nullopt},
        TimeText{"HourTooLarge", "2026-03-01T24:00Z", std::nullopt},
        TimeText{"TrailingText", "2026-03-01T08:15Zulu", std::nullopt},
        TimeText{"Empty", "", std::nullopt}, TimeText{"NotATime", "yesterday", std::nullopt},
        TimeText{"FractionWithoutDigits", "2026-03-01T08:15:02.Z", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IsoTimeFormat, WritesUtcWithMillisecondsAndReadsBackTheSame) {
    EXPECT_EQ(FormatIsoUtc(kMorning), "2026-03-01T08:15:02.047Z");
    EXPECT_EQ(FormatIsoUtc(0), "1970-01-01T00:00:00.000Z");
    for (const std::int64_t time : {std::int64_t{0}, kMorning, std::int64_t{4102444799999}}) {
        EXPECT_EQ(ParseIsoUtc(FormatIsoUtc(time)), time);
    }
}

}  // namespace
