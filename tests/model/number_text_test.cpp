#include "model/number_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <optional>
#include <string>

namespace {

struct IntegerRow {
    const char* name;
    std::string text;
    std::optional<int> expected;
};

class IntegerTextScan : public ::testing::TestWithParam<IntegerRow> {};

TEST_P(IntegerTextScan, ReadsLikeTheDecimalIntegerScan) {
    EXPECT_EQ(ScanIntegerText(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, IntegerTextScan,
    ::testing::Values(IntegerRow{"TrailingLettersIgnored", "12abc", 12},
                      IntegerRow{"LeadingBlanksThenSign", "  -5", -5},
                      IntegerRow{"LeadingTabsAndNewlines", "\t\n\v\f\r42", 42},
                      IntegerRow{"PlusSign", "+9", 9}, IntegerRow{"Letters", "abc", std::nullopt},
                      IntegerRow{"Empty", "", std::nullopt},
                      IntegerRow{"OnlyBlanks", "   ", std::nullopt},
                      IntegerRow{"SignWithoutDigits", "-", std::nullopt},
                      IntegerRow{"BlankAfterSign", "- 5", std::nullopt},
                      IntegerRow{"FullStopEndsNumber", "3.9", 3},
                      IntegerRow{"NoDigitGroupingRead", "1.234", 1},
                      IntegerRow{"HexPrefixReadsZero", "0x1F", 0},
                      IntegerRow{"LargestValue", "2147483647", INT_MAX},
                      IntegerRow{"SmallestValue", "-2147483648", INT_MIN},
                      IntegerRow{"TwoToThe31SaturatesHigh", "2147483648", INT_MAX},
                      IntegerRow{"BelowSmallestSaturatesLow", "-2147483649", INT_MIN},
                      IntegerRow{"TwentyDigitsSaturate", "99999999999999999999", INT_MAX},
                      IntegerRow{"TwentyDigitsNegativeSaturate", "-99999999999999999999", INT_MIN},
                      IntegerRow{"OnlyFirst63CharactersScanned", std::string(62, '0') + "12", 1},
                      IntegerRow{"TextEndsAtNul",
                                 std::string("5\0"
                                             "7",
                                             3),
                                 5},
                      IntegerRow{"NulBeforeDigits",
                                 std::string("\0"
                                             "7",
                                             2),
                                 std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

struct RealRow {
    const char* name;
    std::string text;
    std::optional<double> expected;
};

class RealTextScan : public ::testing::TestWithParam<RealRow> {};

TEST_P(RealTextScan, ReadsLikeTheRealScan) {
    const std::optional<double> scanned = ScanRealText(GetParam().text);
    ASSERT_EQ(scanned.has_value(), GetParam().expected.has_value());
    if (scanned) {
        EXPECT_DOUBLE_EQ(*scanned, *GetParam().expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RealTextScan,
    ::testing::Values(
        RealRow{"Exponent", "4.5e2", 450.0}, RealRow{"CommaEndsNumber", "433,92", 433.0},
        RealRow{"Plain", "433.92", 433.92}, RealRow{"LeadingBlanksAndSign", "  -74.5", -74.5},
        RealRow{"PlusSign", "+1.25", 1.25}, RealRow{"FractionOnly", ".5", 0.5},
        RealRow{"PointAtEnd", "5.", 5.0}, RealRow{"SignedExponent", "-.5e-1", -0.05},
        RealRow{"ExponentMarkWithoutDigits", "12e", 12.0},
        RealRow{"ExponentSignWithoutDigits", "12e+x", 12.0},
        RealRow{"HexPrefixReadsZero", "0x10", 0.0}, RealRow{"LoneFullStop", ".", std::nullopt},
        RealRow{"Letters", "abc", std::nullopt}, RealRow{"Empty", "", std::nullopt},
        RealRow{"Nan", "nan", std::nullopt}, RealRow{"Inf", "inf", std::nullopt},
        RealRow{"NegativeInfinity", "-infinity", std::nullopt},
        RealRow{"OverflowsDouble", "1e999", std::nullopt},
        RealRow{"OverflowsDoubleNegative", "-1e999", std::nullopt},
        RealRow{"ManyDigitsOverflow", std::string(320, '9'), std::nullopt},
        RealRow{"HugeExponentOverflow", "1e99999999999999999999", std::nullopt},
        RealRow{"UnderflowReadsZero", "1e-999", 0.0},
        RealRow{"HugeNegativeExponentReadsZero", "5e-99999999999999999999", 0.0},
        RealRow{"TinyFractionReadsZero", "0." + std::string(330, '0') + "1", 0.0},
        RealRow{"FractionCutBeforeItsDigit", "0." + std::string(400, '0') + "1", 0.0},
        RealRow{"OnlyFirst399CharactersScanned", std::string(398, ' ') + "75", 7.0}),
    [](const auto& info) { return std::string(info.param.name); });

struct RealFormatRow {
    const char* name;
    double value;
    const char* expected;
};

class RealTextFormat : public ::testing::TestWithParam<RealFormatRow> {};

TEST_P(RealTextFormat, PrintsFifteenSignificantDigits) {
    EXPECT_EQ(FormatRealText(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RealTextFormat,
    ::testing::Values(RealFormatRow{"Whole", 433.0, "433"},
                      RealFormatRow{"Fraction", 433.92, "433.92"},
                      RealFormatRow{"Negative", -74.5, "-74.5"}, RealFormatRow{"Zero", 0.0, "0"},
                      RealFormatRow{"CutToFifteenDigits", 479.999847412109375, "479.999847412109"},
                      RealFormatRow{"LargeUsesExponent", 1e20, "1e+20"},
                      RealFormatRow{"SmallUsesExponent", 0.00001, "1e-05"},
                      RealFormatRow{"SmallKeepsFixed", 0.0001, "0.0001"},
                      RealFormatRow{"NoGroupingOfThousands", 1234567.5, "1234567.5"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IntegerTextFormat, PrintsPlainDecimal) {
    EXPECT_EQ(FormatIntegerText(0), "0");
    EXPECT_EQ(FormatIntegerText(-5), "-5");
    EXPECT_EQ(FormatIntegerText(1234567), "1234567");
    EXPECT_EQ(FormatIntegerText(INT_MIN), "-2147483648");
}

// Runs a block under a process locale with a decimal comma, restoring the previous one.
class UnderGermanLocale : public ::testing::Test {
  protected:
    void SetUp() override {
        m_previous = std::setlocale(LC_ALL, nullptr);
        if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
            GTEST_SKIP() << "locale de_DE.UTF-8 is not installed (locale-gen de_DE.UTF-8)";
        }
    }
    void TearDown() override { std::setlocale(LC_ALL, m_previous.c_str()); }

  private:
    std::string m_previous;
};

TEST_F(UnderGermanLocale, NumbersKeepTheFullStopAndNoGrouping) {
    EXPECT_EQ(FormatRealText(433.92), "433.92");
    EXPECT_EQ(FormatRealText(1234567.5), "1234567.5");
    EXPECT_EQ(FormatIntegerText(1234567), "1234567");
    EXPECT_EQ(ScanRealText("433.92"), 433.92);
    EXPECT_EQ(ScanRealText("433,92"), 433.0);
    EXPECT_EQ(ScanIntegerText("1.234"), 1);
}

}  // namespace
