// The pool as a batch's MAC source, on a real SQLite store: how each way a module's job ends
// leaves its MAC, and that a stopped source never asks the store again.
#include <gtest/gtest.h>

#include <memory>

#include "station/pool_mac_source.h"
#include "store/open_station_store.h"
#include "tests/files/temp_folder.h"

namespace {

constexpr MacNumber kFirst = 0x4C5600001000;

struct EndRow {
    const char* name;
    bool acknowledged;  // Written, else GiveBack
    bool succeeded;
    MacState state;  // of the MAC once settled
};

class PoolMacSourceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto opened = OpenStationStore("sqlite:" + m_folder.File("station.sqlite"));
        ASSERT_TRUE(opened.Ok()) << opened.message;
        m_store = std::move(opened.value);
        ASSERT_TRUE(m_store->AddRange(kFirst, 3).Ok());
    }

    MacState StateOf(MacNumber mac) { return m_store->StateOf(mac).value; }

    static ProductionRecord Record() {
        ProductionRecord record;
        record.station = "st1";
        record.port = "/dev/ttyUSB0";
        record.outcome = "ok";
        return record;
    }

    TempFolder m_folder;
    std::unique_ptr<StationStore> m_store;
};

class JobEndTest : public PoolMacSourceTest, public ::testing::WithParamInterface<EndRow> {};

TEST_P(JobEndTest, SettlesTheMacWithTheRecord) {
    const EndRow& row = GetParam();
    PoolMacSource source(*m_store, "st1");
    const std::optional<MacAddress> mac = source.Take("/dev/ttyUSB0");
    ASSERT_TRUE(mac);
    EXPECT_EQ(MacToNumber(*mac), kFirst);
    EXPECT_EQ(StateOf(kFirst), MacState::Reserved);

    if (row.acknowledged) {
        source.Written(*mac, row.succeeded);
        EXPECT_EQ(StateOf(kFirst), MacState::Written);
    } else {
        source.GiveBack(*mac);
        EXPECT_EQ(StateOf(kFirst), MacState::Reserved);  // until its record is committed
    }
    ASSERT_TRUE(source.Settle(*mac, row.succeeded, Record()).Ok());

    EXPECT_EQ(StateOf(kFirst), row.state);
    EXPECT_EQ(m_store->Records(std::nullopt).value.size(), 1U);
    EXPECT_FALSE(source.Stopped());
}

const EndRow kEndRows[] = {
    {"Verified", true, true, MacState::Verified},
    {"VerificationFailed", true, false, MacState::Failed},
    {"NotAcknowledged", false, false, MacState::Free},
};

INSTANTIATE_TEST_SUITE_P(Ends, JobEndTest, ::testing::ValuesIn(kEndRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PoolMacSourceTest, AnEmptyPoolStopsTheSourceForGood) {
    PoolMacSource source(*m_store, "st1");
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(source.Take("p"));
    }
    EXPECT_FALSE(source.Take("p"));
    ASSERT_TRUE(source.Stopped());
    EXPECT_EQ(source.Stopped()->outcome, StoreOutcome::PoolEmpty);

    // A MAC given back after the stop goes to the pool, but this source hands out no more.
    const MacAddress first = MacFromNumber(kFirst);
    source.GiveBack(first);
    ASSERT_TRUE(source.Settle(first, false, Record()).Ok());
    EXPECT_EQ(StateOf(kFirst), MacState::Free);
    EXPECT_FALSE(source.Take("p"));
}

TEST_F(PoolMacSourceTest, AModuleHoldingAVerifiedMacOfThePoolKeepsIt) {
    std::optional<MacAddress> held;
    PoolMacSource source(*m_store, "st1", [&held](const std::string&) { return held; });
    const MacAddress first = *source.Take("p");
    source.Written(first, true);
    ASSERT_TRUE(source.Settle(first, true, Record()).Ok());

    held = first;  // the same module plugged in again
    const std::optional<MacAddress> again = source.Take("p");
    ASSERT_TRUE(again);
    EXPECT_EQ(*again, first);
    source.Written(*again, true);
    ASSERT_TRUE(source.Settle(*again, true, Record()).Ok());

    EXPECT_EQ(StateOf(kFirst), MacState::Verified);
    EXPECT_EQ(m_store->Status().value.free, 2U);
    EXPECT_EQ(m_store->Records(std::nullopt).value.size(), 2U);
}

TEST_F(PoolMacSourceTest, TwoModulesClaimingOneMacAtOnceGetOneNewMac) {
    std::optional<MacAddress> held;
    PoolMacSource source(*m_store, "st1", [&held](const std::string&) { return held; });
    const MacAddress first = *source.Take("p");
    source.Written(first, true);
    ASSERT_TRUE(source.Settle(first, true, Record()).Ok());
    held = first;

    const std::optional<MacAddress> a = source.Take("p1");
    const std::optional<MacAddress> b = source.Take("p2");

    ASSERT_TRUE(a && b);
    EXPECT_EQ(*a, first);
    EXPECT_EQ(MacToNumber(*b), kFirst + 1);
}

}  // namespace
