#include "model/hex_text.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

struct HexRead {
    std::vector<std::uint8_t> bytes;
    std::uint8_t count;
};

HexRead Read(const std::string& text, std::uint8_t max) {
    std::array<std::uint8_t, 256> out;
    out.fill(0xEE);
    std::uint8_t count = 0xCC;
    HexToBytes(text.c_str(), out.data(), count, max);
    for (std::size_t i = count; i < out.size(); ++i) {
        EXPECT_EQ(out[i], 0xEE) << "byte " << i << " past the count was written";
    }
    return {std::vector<std::uint8_t>(out.begin(), out.begin() + count), count};
}

std::string Write(const std::vector<std::uint8_t>& bytes) {
    std::array<char, 3 * 256> text;
    text.fill('#');
    BytesToHex(text.data(), bytes.data(), static_cast<std::uint8_t>(bytes.size()));
    return text.data();
}

struct HexReadCase {
    const char* name;
    const char* text;
    std::uint8_t max;
    std::vector<std::uint8_t> expected;
};

class HexToBytesExamples : public testing::TestWithParam<HexReadCase> {};

TEST_P(HexToBytesExamples, ProducesTheDocumentedBytes) {
    const HexReadCase& c = GetParam();
    const HexRead read = Read(c.text, c.max);
    EXPECT_EQ(read.bytes, c.expected);
    EXPECT_EQ(read.count, c.expected.size());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, HexToBytesExamples,
    testing::Values(
        HexReadCase{"PrefixedNumberGivesTwoBytes", "0x12", 6, {0x00, 0x12}},
        HexReadCase{"AnySeparatorEndsARun", "1,2;3", 6, {0x01, 0x02, 0x03}},
        HexReadCase{"LongRunKeepsItsLastTwoDigits", "123", 6, {0x23}},
        HexReadCase{"SingleDigitIsAByte", "5", 6, {0x05}},
        HexReadCase{"EmptyTextGivesNothing", "", 6, {}},
        HexReadCase{"LowerCaseDigits", "ab cD Ef", 6, {0xAB, 0xCD, 0xEF}},
        HexReadCase{"SeveralSeparatorsEndOneRun", "  12 ,; 34--", 6, {0x12, 0x34}},
        HexReadCase{
            "CanonicalSixBytes", "12 34 56 78 9A BC", 6, {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC}},
        HexReadCase{"SevenGroupsStopAtTheLimit", "01 02 03 04 05 06 07", 6, {1, 2, 3, 4, 5, 6}},
        HexReadCase{"MacWithoutSeparatorsIsOneRun", "1A2B3C4D5E6F7A", 6, {0x7A}},
        HexReadCase{"ShortMac", "12-34", 6, {0x12, 0x34}},
        HexReadCase{"ZeroLimitReadsNothing", "12 34", 0, {}},
        HexReadCase{"NonHexLettersSeparate", "1g2", 6, {0x01, 0x02}}),
    [](const testing::TestParamInfo<HexReadCase>& info) { return std::string(info.param.name); });

TEST(BytesToHex, WritesUppercasePairsSeparatedByOneBlank) {
    EXPECT_EQ(Write({}), "");
    EXPECT_EQ(Write({0x0A, 0xFF}), "0A FF");
    EXPECT_EQ(Write({0x0A, 0xFF, 0x00}), "0A FF 00");
    EXPECT_EQ(Write({0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC}).size(), 17u);
}

TEST(BytesToHex, StaysWithinThreeCharactersPerByte) {
    std::array<char, 3 * 48 + 1> text;
    text.fill('#');
    const std::vector<std::uint8_t> bytes(48, 0xAB);
    BytesToHex(text.data(), bytes.data(), 48);
    EXPECT_EQ(std::string(text.data()).size(), 3u * 48 - 1);
    EXPECT_EQ(text[3 * 48], '#');
}

TEST(HexTextRoundTrip, WrittenTextReadsBackToTheSameBytes) {
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::vector<std::uint8_t> bytes(random() % 49);
        for (auto& b : bytes) {
            b = static_cast<std::uint8_t>(random());
        }
        const HexRead read = Read(Write(bytes), 48);
        EXPECT_EQ(read.bytes, bytes);
    }
}

TEST(HexToBytesRobustness, RandomTextsNeverWritePastTheLimit) {
    std::mt19937 random(11);
    for (int round = 0; round < 2000; ++round) {
        std::string text(random() % 400, ' ');
        for (auto& c : text) {
            c = static_cast<char>(1 + random() % 255);
        }
        const auto max = static_cast<std::uint8_t>(random() % 60);
        std::vector<std::uint8_t> out(max + 8, 0xEE);
        std::uint8_t count = 0;
        HexToBytes(text.c_str(), out.data(), count, max);
        ASSERT_LE(count, max);
        for (std::size_t i = count; i < out.size(); ++i) {
            ASSERT_EQ(out[i], 0xEE);
        }
    }
}

}  // namespace
