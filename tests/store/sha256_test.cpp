#include "store/sha256.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> Pattern(std::size_t count) {
    std::vector<std::uint8_t> bytes(count);
    for (std::size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    return bytes;
}

std::vector<std::uint8_t> Text(const std::string& text) {
    return {text.begin(), text.end()};
}

struct KnownDigest {
    const char* name;
    std::vector<std::uint8_t> bytes;
    const char* digest;
};

void PrintTo(const KnownDigest& row, std::ostream* out) {
    *out << row.name;
}

class Sha256Digest : public testing::TestWithParam<KnownDigest> {};

TEST_P(Sha256Digest, MatchesTheKnownAnswer) {
    EXPECT_EQ(Sha256Hex(GetParam().bytes), GetParam().digest);
}

// The published test strings, then lengths on each side of the padding boundaries and the
// 512-byte block a record fingerprints.
INSTANTIATE_TEST_SUITE_P(
    Answers, Sha256Digest,
    testing::Values(
        KnownDigest{
            "Empty", {}, "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        KnownDigest{"Abc", Text("abc"),
                    "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        KnownDigest{"TwoBlockMessage",
                    Text("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
                    "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        KnownDigest{"MillionA", std::vector<std::uint8_t>(1000000, 'a'),
                    "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
        KnownDigest{"LongestOneBlockTail", Pattern(55),
                    "e7313d333c272e639f790978283f9eb392e843d0f29b7016828bb1daa4aac70b"},
        KnownDigest{"ShortestTwoBlockTail", Pattern(56),
                    "4324d65f3c103567f5589c710bc08f8523f929a9272e3af36fc968e52abc6c27"},
        KnownDigest{"WholeBlock", Pattern(64),
                    "39e3d7b6b5d075d37d053ad89b24b41bef4f3c29760c84447cab3f3be1882241"},
        KnownDigest{"ConfigurationBlock", Pattern(512),
                    "c9d8e3352f9f790d8b0be13cb1c18ed7963009888be04acc065ee5efbd934076"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
