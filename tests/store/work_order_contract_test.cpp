// The contract of StationStore for work orders and station rows, against SQLite and
// PostgreSQL alike.
#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>

#include "store/station_store.h"
#include "tests/store/store_test.h"

namespace {

NewOrder OrderOf(const std::string& name, std::int64_t quantity) {
    return {name, std::string(2 * 518, 'a'), std::string(64, 'f'), "line.cfg", "lead", quantity};
}

ProductionRecord RecordFor(const std::string& order, const char* outcome) {
    ProductionRecord record;
    record.timeStart = 1'700'000'000'000;
    record.timeEnd = record.timeStart + 90;
    record.station = "station-a";
    record.macWritten = "4C:56:00:00:00:01";
    record.macBefore = "4C:56:00:00:00:00";
    record.outcome = outcome;
    record.order = order;
    return record;
}

class WorkOrderContract : public StoreTest {
  protected:
    void SetUp() override {
        StoreTest::SetUp();
        if (!IsSkipped() && !HasFatalFailure()) {
            m_store = Open();
            ASSERT_TRUE(m_store);
        }
    }

    OrderRow Row(const std::string& name) { return m_store->Order(name).value.row; }

    StoreResult<Reservation> Reserve(const std::string& order) {
        return m_store->Reserve({"station-a", "/dev/ttyUSB0", order});
    }

    std::unique_ptr<StationStore> m_store;
};

TEST_P(WorkOrderContract, AnOrderIsCreatedOnceListedShownAndClosed) {
    ASSERT_TRUE(m_store->CreateOrder(OrderOf("WO-1", 5)).Ok());
    EXPECT_EQ(m_store->CreateOrder(OrderOf("WO-1", 5)).outcome, StoreOutcome::OrderExists);
    for (const NewOrder& bad :
         {OrderOf("", 5), OrderOf("a b", 5), OrderOf("-x", 5), OrderOf("wo;drop", 5),
          OrderOf(std::string(65, 'w'), 5), OrderOf("WO-2", 0), OrderOf("WO-2", -3)}) {
        EXPECT_EQ(m_store->CreateOrder(bad).outcome, StoreOutcome::OrderInvalid) << bad.name;
    }
    const std::vector<OrderRow> orders = m_store->Orders().value;
    ASSERT_EQ(orders.size(), 1u);
    EXPECT_EQ(orders[0].name, "WO-1");
    EXPECT_EQ(orders[0].quantity, 5);
    EXPECT_EQ(orders[0].createdBy, "lead");
    EXPECT_EQ(orders[0].state, OrderState::Open);
    const OrderDetail detail = m_store->Order("WO-1").value;
    EXPECT_EQ(detail.configHex, std::string(2 * 518, 'a'));
    EXPECT_EQ(detail.configFile, "line.cfg");
    EXPECT_EQ(m_store->Order("WO-9").outcome, StoreOutcome::OrderUnknown);

    ASSERT_TRUE(m_store->CloseOrder("WO-1").Ok());
    EXPECT_EQ(Row("WO-1").state, OrderState::Closed);
    EXPECT_EQ(m_store->CloseOrder("WO-9").outcome, StoreOutcome::OrderUnknown);
    ASSERT_TRUE(m_store->AddRange(0x100, 10).Ok());
    EXPECT_EQ(Reserve("WO-1").outcome, StoreOutcome::OrderNotOpen);
    EXPECT_EQ(Reserve("WO-9").outcome, StoreOutcome::OrderUnknown);
}

// Verified plus in flight never passes the quantity; a failed module frees its place, a
// suspect one holds it; the verification that reaches the quantity completes the order.
TEST_P(WorkOrderContract, TheOrderCountsVerifiedAndInFlightAndCompletesAtItsQuantity) {
    ASSERT_TRUE(m_store->CreateOrder(OrderOf("WO-1", 3)).Ok());
    ASSERT_TRUE(m_store->AddRange(0x100, 10).Ok());
    const Reservation first = Reserve("WO-1").value;
    const Reservation second = Reserve("WO-1").value;
    const Reservation third = Reserve("WO-1").value;
    EXPECT_EQ(Reserve("WO-1").outcome, StoreOutcome::OrderFull);
    EXPECT_EQ(Row("WO-1").inFlight, 3);

    ASSERT_TRUE(m_store->KeepUsed(first.id, RecordFor("WO-1", "failed")).Ok());
    const Reservation fourth = Reserve("WO-1").value;
    ASSERT_TRUE(m_store->HoldSuspect(second.id, "no answer", RecordFor("WO-1", "failed")).Ok());
    EXPECT_EQ(Reserve("WO-1").outcome, StoreOutcome::OrderFull);

    ASSERT_TRUE(m_store->MarkVerified(third.id, RecordFor("WO-1", "ok")).Ok());
    ASSERT_TRUE(m_store->Release(second.mac).Ok());
    const Reservation fifth = Reserve("WO-1").value;
    ASSERT_TRUE(m_store->MarkVerified(fourth.id, RecordFor("WO-1", "ok")).Ok());
    EXPECT_EQ(Row("WO-1").state, OrderState::Open);
    ASSERT_TRUE(m_store->MarkVerified(fifth.id, RecordFor("WO-1", "ok")).Ok());

    const OrderRow done = Row("WO-1");
    EXPECT_EQ(done.state, OrderState::Complete);
    EXPECT_EQ(done.verified, 3);
    EXPECT_EQ(done.inFlight, 0);
    EXPECT_EQ(done.failed, 2);
    EXPECT_EQ(Reserve("WO-1").outcome, StoreOutcome::OrderNotOpen);
    EXPECT_TRUE(Reserve("").Ok());  // the pool itself still serves runs without an order
}

TEST_P(WorkOrderContract, AnOrdersOwnRangesServeItAloneAndAnOrderWithoutDrawsFromTheRest) {
    ASSERT_TRUE(m_store->CreateOrder(OrderOf("WO-own", 10)).Ok());
    ASSERT_TRUE(m_store->CreateOrder(OrderOf("WO-shared", 10)).Ok());
    ASSERT_TRUE(m_store->AddRange(0x100, 2).Ok());
    ASSERT_TRUE(m_store->AddRange(0x200, 2, "WO-own").Ok());
    EXPECT_EQ(m_store->AddRange(0x300, 2, "WO-9").outcome, StoreOutcome::OrderUnknown);

    EXPECT_EQ(Reserve("WO-own").value.mac, 0x200u);
    EXPECT_EQ(Reserve("WO-shared").value.mac, 0x100u);
    EXPECT_EQ(Reserve("").value.mac, 0x101u);
    EXPECT_EQ(Reserve("").outcome, StoreOutcome::PoolEmpty);
    const Reservation own = Reserve("WO-own").value;
    EXPECT_EQ(own.mac, 0x201u);
    ASSERT_TRUE(m_store->ReturnToPool(own.id, RecordFor("WO-own", "failed")).Ok());
    EXPECT_EQ(Reserve("").outcome, StoreOutcome::PoolEmpty);
    EXPECT_EQ(Reserve("WO-own").value.mac, 0x201u);
    EXPECT_EQ(m_store->Order("WO-own").value.ranges,
              (std::vector<PoolRange>{{0x200, 2, "WO-own"}}));
}

// Four stations, each on a connection of its own, reserve and verify as fast as they can.
TEST_P(WorkOrderContract, FourStationsAtOnceProgramExactlyTheQuantity) {
    constexpr int kQuantity = 40;
    ASSERT_TRUE(m_store->CreateOrder(OrderOf("WO-1", kQuantity)).Ok());
    ASSERT_TRUE(m_store->AddRange(0x1000, 100).Ok());
    std::atomic<int> verified{0};
    std::atomic<int> failures{0};
    std::vector<std::thread> stations;
    for (int i = 0; i < 4; ++i) {
        stations.emplace_back([&, i] {
            std::unique_ptr<StationStore> store = OpenStationStore(Url()).value;
            const ReservationRequest request{"station-" + std::to_string(i), "p", "WO-1"};
            for (;;) {
                const StoreResult<Reservation> held =
                    store ? store->Reserve(request)
                          : StoreFailure(StoreOutcome::DatabaseFailed, "");
                if (held.outcome == StoreOutcome::OrderFull) {
                    std::this_thread::yield();
                    continue;
                }
                if (!held.Ok()) {
                    failures += held.outcome == StoreOutcome::OrderNotOpen ? 0 : 1;
                    return;
                }
                verified += store->MarkVerified(held.value.id, RecordFor("WO-1", "ok")).Ok();
            }
        });
    }
    for (std::thread& station : stations) {
        station.join();
    }
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(verified, kQuantity);
    const OrderRow row = Row("WO-1");
    EXPECT_EQ(row.verified, kQuantity);
    EXPECT_EQ(row.state, OrderState::Complete);
    EXPECT_EQ(m_store->Status().value.used, std::uint64_t{kQuantity});
}

TEST_P(WorkOrderContract, RecordsAreFoundByOrderAndByEitherMac) {
    ASSERT_TRUE(m_store->AddRecord(RecordFor("WO-1", "ok")).Ok());
    ASSERT_TRUE(m_store->AddRecord(RecordFor("", "failed")).Ok());
    RecordQuery query;
    query.order = "WO-1";
    const auto byOrder = m_store->FindRecords(query).value;
    ASSERT_EQ(byOrder.size(), 1u);
    EXPECT_EQ(byOrder[0].record.order, "WO-1");
    query = {};
    query.mac = "4C:56:00:00:00:00";
    EXPECT_EQ(m_store->FindRecords(query).value.size(), 2u);
}

TEST_P(WorkOrderContract, AStationKeepsOneRowThatItsRefreshesReplace) {
    StationRow row{"line-1", "host-a", "lvcfg-cli batch",
                   "1.6",    "WO-1",   StationState::Running,
                   1000,     1000,     0,
                   0,        "",       0};
    ASSERT_TRUE(m_store->KeepStationRow(row).Ok());
    row.lastSeenMs = 6000;
    row.done = 12;
    row.failed = 1;
    row.lastFailureReason = "no_answer";
    row.lastFailureMs = 5500;
    ASSERT_TRUE(m_store->KeepStationRow(row).Ok());
    ASSERT_TRUE(m_store
                    ->KeepStationRow({"line-0", "host-b", "lvcfg-station", "1.6", "",
                                      StationState::Stopped, 1, 2, 0, 0, "", 0})
                    .Ok());
    const std::vector<StationRow> rows = m_store->Stations().value;
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].station, "line-0");
    EXPECT_EQ(rows[1].lastSeenMs, 6000);
    EXPECT_EQ(rows[1].done, 12);
    EXPECT_EQ(rows[1].lastFailureReason, "no_answer");
    EXPECT_EQ(rows[1].order, "WO-1");
    EXPECT_EQ(rows[1].state, StationState::Running);
    // Offline once three refreshes were missed; a stopped station never is.
    const std::int64_t missed = kStationOfflineAfterIntervals * kStationRefreshIntervalMs;
    EXPECT_FALSE(StationRowIsOffline(rows[1], 6000 + missed));
    EXPECT_TRUE(StationRowIsOffline(rows[1], 6000 + missed + 1));
    EXPECT_FALSE(StationRowIsOffline(rows[0], 2 + 10 * missed));
}

INSTANTIATE_FOR_BOTH_BACKENDS(WorkOrderContract);

}  // namespace
