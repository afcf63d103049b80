// Several stations allocating from one pool at once, each a process of its own.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "tests/store/store_test.h"
#include "tests/store/worker_process.h"

namespace {

constexpr int kStations = 4;
constexpr int kModulesPerStation = 250;
constexpr MacNumber kFirstMac = 0x4E5F1A2B0000;
constexpr std::uint64_t kPoolSize = 2000;

using ConcurrentAllocation = StoreTest;

// Four processes under one station name, as four batches of one station would run; each
// starts by quarantining its station's unfinished reservations, which must spare the others'.
TEST_P(ConcurrentAllocation, FourStationsGetDistinctMacsWithoutGapsBeyondTheirFailures) {
    {
        std::unique_ptr<StationStore> store = Open();
        ASSERT_TRUE(store);
        ASSERT_TRUE(store->AddRange(kFirstMac, kPoolSize).Ok());
    }
    std::vector<std::unique_ptr<WorkerProcess>> workers;
    for (int i = 0; i < kStations; ++i) {
        workers.push_back(std::make_unique<WorkerProcess>(
            std::vector<std::string>{Url(), "line-1", std::to_string(kModulesPerStation)}));
        ASSERT_TRUE(workers.back()->Started());
    }
    // Every MAC that ended in a module, and how each ended.
    std::map<MacNumber, std::string> programmed;
    std::size_t duplicates = 0;
    std::size_t returned = 0;
    for (auto& worker : workers) {
        for (const std::string& line : worker->ReadLines()) {
            const std::size_t space = line.find(' ');
            const std::string ending = line.substr(0, space);
            const MacNumber mac = std::stoull(line.substr(space + 1));
            if (ending == "returned") {
                ++returned;
            } else if (!programmed.emplace(mac, ending).second) {
                ++duplicates;
            }
        }
        EXPECT_EQ(worker->Wait(), 0);
    }
    EXPECT_EQ(duplicates, 0u);
    ASSERT_EQ(programmed.size(), std::size_t{kStations * kModulesPerStation});
    // Returned MACs went out again, so the programmed ones fill the start of the pool.
    EXPECT_EQ(programmed.begin()->first, kFirstMac);
    EXPECT_EQ(programmed.rbegin()->first, kFirstMac + programmed.size() - 1);
    EXPECT_GT(returned, 0u);

    std::unique_ptr<StationStore> store = Open();
    ASSERT_TRUE(store);
    const PoolStatus status = store->Status().value;
    EXPECT_EQ(status.used, programmed.size());
    EXPECT_EQ(status.free, kPoolSize - programmed.size());
    EXPECT_EQ(status.reserved + status.quarantined, 0u);
    for (const auto& [mac, ending] : programmed) {
        EXPECT_EQ(store->StateOf(mac).value,
                  ending == "verified" ? MacState::Verified : MacState::Failed);
    }
    EXPECT_EQ(store->Records(std::nullopt).value.size(), programmed.size() + returned);
}

TEST_P(ConcurrentAllocation, StationsStartingTogetherOnANewStoreCreateItOnce) {
    std::vector<std::unique_ptr<WorkerProcess>> workers;
    for (int i = 0; i < kStations; ++i) {
        workers.push_back(
            std::make_unique<WorkerProcess>(std::vector<std::string>{Url(), "line-1", "0"}));
        ASSERT_TRUE(workers.back()->Started());
    }
    for (auto& worker : workers) {
        EXPECT_EQ(worker->Wait(), 0);
    }
    std::unique_ptr<StationStore> store = Open();
    ASSERT_TRUE(store);
    EXPECT_EQ(store->SchemaVersion(), kCurrentSchemaVersion);
    EXPECT_TRUE(store->Status().value.ranges.empty());
}

INSTANTIATE_FOR_BOTH_BACKENDS(ConcurrentAllocation);

}  // namespace
