// The PostgreSQL server stopping under a running station. Runs only inside pg_virtualenv,
// whose cluster (PGVERSION/regress) it may stop and start again; skips elsewhere.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/store/store_test.h"
#include "tests/store/worker_process.h"

namespace {

constexpr MacNumber kFirstMac = 0x4E5F1A2C0000;
constexpr std::uint64_t kPoolSize = 5000;

bool Cluster(const std::string& action) {
    const std::string command = "pg_ctlcluster " + std::string(std::getenv("PGVERSION")) +
                                " regress " + action + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

class PostgresServerStop : public StoreTest {
  protected:
    void SetUp() override {
        if (std::getenv("PGVERSION") == nullptr || std::getenv("PGHOST") == nullptr) {
            GTEST_SKIP() << "runs only under pg_virtualenv, which owns the server it stops";
        }
        StoreTest::SetUp();
    }
    void TearDown() override {
        if (m_stopped) {
            EXPECT_TRUE(Cluster("start"));
        }
    }

    bool Stop() { return m_stopped = Cluster("stop -m immediate"); }

    // Starts the server again and opens this test's store on it.
    std::unique_ptr<StationStore> OpenAfterStart() {
        EXPECT_TRUE(Cluster("start"));
        m_stopped = false;
        return Open();
    }

    bool m_stopped = false;
};

TEST_P(PostgresServerStop, ABatchStopsCleanlyAndNoMacIsHeldWithoutItsReservation) {
    {
        std::unique_ptr<StationStore> store = Open();
        ASSERT_TRUE(store);
        ASSERT_TRUE(store->AddRange(kFirstMac, kPoolSize).Ok());
    }
    WorkerProcess worker({Url(), "line-1", std::to_string(kPoolSize)});
    ASSERT_TRUE(worker.Started());
    // Let it program a few modules, then take the server away under it.
    std::uint64_t finished = 0;
    while (finished < 20 && !worker.ReadLine().empty()) {
        ++finished;
    }
    ASSERT_EQ(finished, 20u);
    ASSERT_TRUE(Stop());
    for (std::string line = worker.ReadLine(); !line.empty(); line = worker.ReadLine()) {
        ++finished;
    }
    EXPECT_EQ(worker.Wait(), 6);
    {
        std::unique_ptr<StationStore> store = OpenAfterStart();
        ASSERT_TRUE(store);
        const PoolStatus status = store->Status().value;
        // Every module the worker finished is on record; at most the one in its hands when the
        // server went is still reserved, and that one is quarantined, never handed out.
        EXPECT_LE(status.used, finished);
        EXPECT_LE(status.reserved, 1u);
        const auto quarantined = store->QuarantineUnfinished("line-1");
        ASSERT_TRUE(quarantined.Ok()) << quarantined.message;
        EXPECT_EQ(quarantined.value.quarantined.size(), status.reserved);
        EXPECT_EQ(store->Status().value.reserved, 0u);
    }
}

TEST_P(PostgresServerStop, AStationWhoseServerIsGoneGetsNoMac) {
    std::unique_ptr<StationStore> store = Open();
    ASSERT_TRUE(store);
    ASSERT_TRUE(store->AddRange(kFirstMac, 4).Ok());
    ASSERT_TRUE(Stop());
    const StoreResult<Reservation> held = store->Reserve({"line-1", "/dev/ttyUSB0"});
    EXPECT_EQ(held.outcome, StoreOutcome::DatabaseFailed);
    EXPECT_FALSE(held.message.empty());
    const auto unreachable = OpenStationStore(Url());
    EXPECT_EQ(unreachable.outcome, StoreOutcome::DatabaseFailed);
}

INSTANTIATE_TEST_SUITE_P(Backends, PostgresServerStop, testing::Values(BackendKind::Postgres),
                         BackendName);

}  // namespace
