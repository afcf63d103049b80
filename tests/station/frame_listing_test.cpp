// A frame's listing, and what two frames differ in, named for people.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "station/frame_listing.h"

namespace {

// A module's frame: the magic at the start of the name, a MAC, sealed.
ConfigFrame ModuleFrame() {
    ConfigFrame frame{};
    MakeDefaultWorkFrame(frame);
    std::memcpy(frame.data() + FrameOffset::kName, "Lumivaro KTR5520Q", 18);
    frame[FrameOffset::kType] = 'N';
    frame[FrameOffset::kMac + 5] = 0x07;
    SealFrame(frame);
    return frame;
}

std::vector<std::string> Keys(const std::vector<ListedValue>& values) {
    std::vector<std::string> keys;
    for (const ListedValue& value : values) {
        keys.push_back(value.key);
    }
    return keys;
}

TEST(FrameListingTest, ListsTheIdentityOnceThenTheSettings) {
    const FrameListing listing = ListFrame(ModuleFrame());
    EXPECT_EQ(Keys(listing.identity),
              (std::vector<std::string>{"name", "version", "type", "rf_freq_band", "rf_power_max",
                                        "mac"}));
    EXPECT_EQ(listing.identity[0].value, FieldValue(std::string("Lumivaro KTR5520Q")));
    EXPECT_EQ(listing.identity[2].value, FieldValue(std::string("NODE")));
    EXPECT_EQ(listing.identity[5].value, FieldValue(std::string("00:00:00:00:00:07")));
    const auto fields = Keys(listing.fields);
    for (const char* shownOnce : {"name", "version", "mac", "auto_config"}) {
        EXPECT_EQ(std::count(fields.begin(), fields.end(), shownOnce), 0) << shownOnce;
    }
    EXPECT_EQ(std::count(fields.begin(), fields.end(), "network_id"), 1);
}

struct DifferenceRow {
    const char* name;
    std::vector<std::size_t> changedBytes;
    std::string described;
};

class BlockDifferenceTest : public ::testing::TestWithParam<DifferenceRow> {};

TEST_P(BlockDifferenceTest, NamesTheFieldsOrElseTheBytes) {
    const ConfigFrame sent = ModuleFrame();
    ConfigFrame readBack = sent;
    for (std::size_t offset : GetParam().changedBytes) {
        readBack[offset] ^= 0x01;
    }
    EXPECT_EQ(DescribeBlockDifference(sent, readBack), GetParam().described);
}

const DifferenceRow kDifferenceRows[] = {
    {"Same", {}, ""},
    {"CommandAndCrcAreNoPartOfTheBlock", {0, FrameOffset::kCrc}, ""},
    {"NetworkId", {FrameOffset::kNetworkIdLow}, "network_id"},
    {"MacAndNetworkId", {FrameOffset::kMac + 5, FrameOffset::kNetworkIdLow}, "mac, network_id"},
    {"OneUnusedByte", {400}, "byte 400"},
    {"UnusedBytes", {410, 400}, "bytes 400-410"},
};

INSTANTIATE_TEST_SUITE_P(Frames, BlockDifferenceTest, ::testing::ValuesIn(kDifferenceRows),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
