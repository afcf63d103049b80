// The contract of StationStore, run against SQLite and PostgreSQL alike.
#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "store/station_store.h"
#include "store/stored_text.h"
#include "tests/store/store_test.h"
#include "tests/store/worker_process.h"

namespace {

const ReservationRequest kStationA{"station-a", "/dev/ttyUSB0"};

ProductionRecord RecordAt(std::int64_t timeStart, const std::string& macWritten) {
    ProductionRecord record;
    record.timeStart = timeStart;
    record.timeEnd = timeStart + 250;
    record.station = "station-a";
    record.port = "/dev/ttyUSB0";
    record.macWritten = macWritten;
    record.outcome = "ok";
    return record;
}

// A store opened for the test, with shorthands for the steps every test takes.
template <class Param>
class OpenStoreTest : public BasicStoreTest<Param> {
  protected:
    void SetUp() override {
        BasicStoreTest<Param>::SetUp();
        if (!this->IsSkipped() && !this->HasFatalFailure()) {
            m_store = this->Open();
            ASSERT_TRUE(m_store);
        }
    }

    Reservation Reserve(const ReservationRequest& request = kStationA) {
        StoreResult<Reservation> held = m_store->Reserve(request);
        EXPECT_TRUE(held.Ok()) << held.message;
        return held.value;
    }

    PoolStatus Status() {
        StoreResult<PoolStatus> status = m_store->Status();
        EXPECT_TRUE(status.Ok()) << status.message;
        return status.value;
    }

    MacState StateOf(MacNumber mac) { return m_store->StateOf(mac).value; }

    std::unique_ptr<StationStore> m_store;
};

using StationStoreContract = OpenStoreTest<BackendKind>;

TEST_P(StationStoreContract, ANewStoreHasTheCurrentSchemaAndAnEmptyPool) {
    EXPECT_EQ(m_store->SchemaVersion(), kCurrentSchemaVersion);
    const PoolStatus status = Status();
    EXPECT_TRUE(status.ranges.empty());
    EXPECT_EQ(status.free + status.reserved + status.used + status.quarantined, 0u);
    EXPECT_EQ(m_store->Reserve(kStationA).outcome, StoreOutcome::PoolEmpty);
}

TEST_P(StationStoreContract, RangesShowInStatusInAddressOrderWithTheirMacsFree) {
    ASSERT_TRUE(m_store->AddRange(0x4E5F1A2B0100, 500).Ok());
    ASSERT_TRUE(m_store->AddRange(0x4E5F1A2B0000, 16).Ok());
    const PoolStatus status = Status();
    EXPECT_EQ(status.ranges, (std::vector<PoolRange>{{0x4E5F1A2B0000, 16}, {0x4E5F1A2B0100, 500}}));
    EXPECT_EQ(status.free, 516u);
    EXPECT_EQ(StateOf(0x4E5F1A2B000F), MacState::Free);
    EXPECT_EQ(StateOf(0x4E5F1A2B0010), MacState::NotInPool);
}

TEST_P(StationStoreContract, HandsOutTheLowestFreeMacRangeAfterRangeThenRunsEmpty) {
    ASSERT_TRUE(m_store->AddRange(100, 2).Ok());
    ASSERT_TRUE(m_store->AddRange(10, 2).Ok());
    std::vector<MacNumber> handedOut;
    for (int i = 0; i < 4; ++i) {
        handedOut.push_back(Reserve().mac);
    }
    EXPECT_EQ(handedOut, (std::vector<MacNumber>{10, 11, 100, 101}));
    const StoreResult<Reservation> empty = m_store->Reserve(kStationA);
    EXPECT_EQ(empty.outcome, StoreOutcome::PoolEmpty);
    EXPECT_FALSE(empty.message.empty());
    const PoolStatus status = Status();
    EXPECT_EQ(status.free, 0u);
    EXPECT_EQ(status.reserved, 4u);
}

TEST_P(StationStoreContract, AMacGoesFromReservedThroughWrittenToVerifiedWithItsRecord) {
    ASSERT_TRUE(m_store->AddRange(0x10, 8).Ok());
    const Reservation held = Reserve();
    EXPECT_EQ(StateOf(held.mac), MacState::Reserved);
    EXPECT_EQ(Status().reserved, 1u);

    ASSERT_TRUE(m_store->MarkWritten(held.id).Ok());
    EXPECT_EQ(StateOf(held.mac), MacState::Written);
    EXPECT_EQ(Status().reserved, 1u);

    ASSERT_TRUE(m_store->MarkVerified(held.id, RecordAt(1000, "00 00 00 00 00 10")).Ok());
    EXPECT_EQ(StateOf(held.mac), MacState::Verified);
    const PoolStatus status = Status();
    EXPECT_EQ(status.used, 1u);
    EXPECT_EQ(status.reserved, 0u);
    EXPECT_EQ(status.free, 7u);
    const auto records = m_store->Records(std::nullopt);
    ASSERT_TRUE(records.Ok()) << records.message;
    ASSERT_EQ(records.value.size(), 1u);
    EXPECT_EQ(records.value[0].macWritten, "00 00 00 00 00 10");
}

TEST_P(StationStoreContract, AnUnacknowledgedWriteGivesItsMacBackForTheNextModule) {
    ASSERT_TRUE(m_store->AddRange(0x10, 8).Ok());
    const Reservation first = Reserve();
    ASSERT_TRUE(m_store->ReturnToPool(first.id, RecordAt(1000, "")).Ok());
    EXPECT_EQ(StateOf(first.mac), MacState::Free);
    EXPECT_EQ(Status().free, 8u);

    const Reservation again = Reserve();
    EXPECT_EQ(again.mac, first.mac);
    EXPECT_NE(again.id, first.id);
    // The old hold is closed: it cannot move the MAC that now belongs to the new one.
    EXPECT_EQ(m_store->MarkWritten(first.id).outcome, StoreOutcome::ReservationClosed);
    EXPECT_EQ(StateOf(again.mac), MacState::Reserved);
    EXPECT_EQ(m_store->Records(std::nullopt).value.size(), 1u);
}

TEST_P(StationStoreContract, AFailedReadBackKeepsTheMacUsedForGood) {
    ASSERT_TRUE(m_store->AddRange(0x10, 2).Ok());
    const Reservation failed = Reserve();
    ASSERT_TRUE(m_store->MarkWritten(failed.id).Ok());
    ASSERT_TRUE(m_store->KeepUsed(failed.id, RecordAt(1000, "")).Ok());
    EXPECT_EQ(StateOf(failed.mac), MacState::Failed);
    EXPECT_NE(Reserve().mac, failed.mac);
    EXPECT_EQ(m_store->Reserve(kStationA).outcome, StoreOutcome::PoolEmpty);
    EXPECT_EQ(Status().used, 1u);
}

// Steps a reservation may not take from where it stands; each leaves it as it was.
struct ClosedStep {
    const char* name;
    bool markWrittenFirst;
    StoreStatus (*step)(StationStore&, std::int64_t);
    MacState stateAfter;
};

void PrintTo(const ClosedStep& row, std::ostream* out) {
    *out << row.name;
}

const ClosedStep kClosedSteps[] = {
    {"WrittenTwice", true, [](StationStore& s, std::int64_t id) { return s.MarkWritten(id); },
     MacState::Written},
    {"ReturnedAfterWritten", true,
     [](StationStore& s, std::int64_t id) { return s.ReturnToPool(id, RecordAt(1, "")); },
     MacState::Written},
    {"UnknownReservation", false,
     [](StationStore& s, std::int64_t id) { return s.MarkWritten(id + 1000); }, MacState::Reserved},
    {"HeldOutsideThePool", false,
     [](StationStore& s, std::int64_t id) { return s.EndOutsidePool(id, true, RecordAt(1, "")); },
     MacState::Reserved},
};

class StationStoreClosedStep : public OpenStoreTest<std::tuple<BackendKind, ClosedStep>> {};

TEST_P(StationStoreClosedStep, IsRefusedAndChangesNothing) {
    const ClosedStep& row = std::get<1>(GetParam());
    ASSERT_TRUE(m_store->AddRange(0x10, 4).Ok());
    const Reservation held = Reserve();
    if (row.markWrittenFirst) {
        ASSERT_TRUE(m_store->MarkWritten(held.id).Ok());
    }
    EXPECT_EQ(row.step(*m_store, held.id).outcome, StoreOutcome::ReservationClosed);
    EXPECT_EQ(StateOf(held.mac), row.stateAfter);
    EXPECT_TRUE(m_store->Records(std::nullopt).value.empty());
}

INSTANTIATE_TABLE_FOR_BOTH_BACKENDS(StationStoreClosedStep, kClosedSteps);

TEST_P(StationStoreContract, AReservationOfAKilledStationIsQuarantinedAndNeverHandedOutAgain) {
    ASSERT_TRUE(m_store->AddRange(0x20, 3).Ok());
    MacNumber orphan = 0;
    {
        WorkerProcess worker({Url(), "station-a", "1", "--stop-after-reserve"});
        ASSERT_TRUE(worker.Started());
        const std::string line = worker.ReadLine();
        ASSERT_EQ(line.rfind("reserved ", 0), 0u) << line;
        orphan = std::stoull(line.substr(9));
        worker.Kill();
        EXPECT_EQ(worker.Wait(), -1);
    }
    EXPECT_EQ(StateOf(orphan), MacState::Reserved);
    // Another station's start leaves it alone; only its own station quarantines it.
    EXPECT_TRUE(m_store->QuarantineUnfinished("station-b").value.quarantined.empty());
    const auto quarantined = m_store->QuarantineUnfinished("station-a");
    ASSERT_TRUE(quarantined.Ok()) << quarantined.message;
    EXPECT_EQ(quarantined.value.quarantined, std::vector<MacNumber>{orphan});
    EXPECT_EQ(StateOf(orphan), MacState::Quarantined);
    EXPECT_TRUE(m_store->QuarantineUnfinished("station-a").value.quarantined.empty());
    const std::vector<HeldMac> held = Status().held;
    ASSERT_EQ(held.size(), 1u);
    EXPECT_NE(held[0].reason.find("station-a"), std::string::npos) << held[0].reason;

    std::set<MacNumber> handedOut{Reserve().mac, Reserve().mac};
    EXPECT_EQ(handedOut.count(orphan), 0u);
    EXPECT_EQ(m_store->Reserve(kStationA).outcome, StoreOutcome::PoolEmpty);
    EXPECT_EQ(Status().quarantined, 1u);

    ASSERT_TRUE(m_store->Release(orphan).Ok());
    EXPECT_EQ(StateOf(orphan), MacState::Free);
    EXPECT_EQ(Reserve().mac, orphan);
}

TEST_P(StationStoreContract, ReservationsOfAProcessStillRunningAreNotQuarantined) {
    ASSERT_TRUE(m_store->AddRange(0x20, 3).Ok());
    const Reservation reserved = Reserve();
    const Reservation written = Reserve();
    ASSERT_TRUE(m_store->MarkWritten(written.id).Ok());
    const auto quarantined = m_store->QuarantineUnfinished("station-a");
    ASSERT_TRUE(quarantined.Ok()) << quarantined.message;
    EXPECT_TRUE(quarantined.value.quarantined.empty());
    EXPECT_EQ(StateOf(reserved.mac), MacState::Reserved);
    EXPECT_EQ(StateOf(written.mac), MacState::Written);
}

TEST_P(StationStoreContract, AReservationMadeOnAnotherHostIsReportedNeverTaken) {
    ASSERT_TRUE(m_store->AddRange(0x20, 3).Ok());
    const Reservation held = Reserve();
    ASSERT_TRUE(m_backend->Execute(
        "UPDATE reservation SET holder_host = 'elsewhere', holder_pid = 77, reserved_at = 1000"));
    const auto report = m_store->QuarantineUnfinished("station-a");
    ASSERT_TRUE(report.Ok()) << report.message;
    EXPECT_TRUE(report.value.quarantined.empty());
    ASSERT_EQ(report.value.otherHosts.size(), 1u);
    EXPECT_EQ(report.value.otherHosts[0].mac, held.mac);
    EXPECT_EQ(report.value.otherHosts[0].host, "elsewhere");
    EXPECT_EQ(report.value.otherHosts[0].pid, 77);
    EXPECT_GT(report.value.otherHosts[0].ageMs, 1'000'000'000);
    EXPECT_EQ(StateOf(held.mac), MacState::Reserved);
}

TEST_P(StationStoreContract, ASuspectMacIsHeldOutWithItsReasonUntilReleased) {
    ASSERT_TRUE(m_store->AddRange(0x30, 2).Ok());
    const Reservation held = Reserve();
    ASSERT_TRUE(m_store->HoldSuspect(held.id, "no acknowledgement", RecordAt(1000, "")).Ok());
    EXPECT_EQ(StateOf(held.mac), MacState::Suspect);
    PoolStatus status = Status();
    EXPECT_EQ(status.suspect, 1u);
    EXPECT_EQ(status.reserved + status.used + status.quarantined, 0u);
    ASSERT_EQ(status.held.size(), 1u);
    EXPECT_EQ(status.held[0].state, MacState::Suspect);
    EXPECT_EQ(status.held[0].reason, "no acknowledgement");
    EXPECT_NE(Reserve().mac, held.mac);
    EXPECT_EQ(m_store->Reserve(kStationA).outcome, StoreOutcome::PoolEmpty);

    ASSERT_TRUE(m_store->Release(held.mac).Ok());
    EXPECT_TRUE(Status().held.empty());
    EXPECT_EQ(Reserve().mac, held.mac);
}

TEST_P(StationStoreContract, ManyReservationsAtOnceEndWhereThePoolRunsOut) {
    ASSERT_TRUE(m_store->AddRange(0x40, 3).Ok());
    const std::vector<ReservationRequest> four(4, kStationA);
    const auto held = m_store->ReserveMany(four);
    ASSERT_TRUE(held.Ok()) << held.message;
    ASSERT_EQ(held.value.size(), 3u);
    EXPECT_EQ(held.value[0].mac, 0x40u);
    EXPECT_EQ(held.value[2].mac, 0x42u);
    EXPECT_EQ(Status().reserved, 3u);
    EXPECT_TRUE(m_store->ReserveMany(four).value.empty());
}

TEST_P(StationStoreContract, StepsDoneTogetherEachSucceedOrFailOnTheirOwn) {
    ASSERT_TRUE(m_store->AddRange(0x50, 4).Ok());
    const Reservation first = Reserve();
    const Reservation second = Reserve();
    ASSERT_TRUE(m_store->MarkVerified(second.id, RecordAt(900, "")).Ok());
    StoreStatus verified;
    StoreStatus refused;
    ASSERT_TRUE(m_store
                    ->Together([&](StationStore& store) {
                        verified = store.MarkVerified(first.id, RecordAt(1000, ""));
                        refused = store.ReturnToPool(second.id, RecordAt(1100, ""));
                    })
                    .Ok());
    EXPECT_TRUE(verified.Ok()) << verified.message;
    EXPECT_EQ(refused.outcome, StoreOutcome::ReservationClosed);
    EXPECT_EQ(StateOf(first.mac), MacState::Verified);
    EXPECT_EQ(StateOf(second.mac), MacState::Verified);
    EXPECT_EQ(m_store->Records(std::nullopt).value.size(), 2u);
}

TEST_P(StationStoreContract, AMacOutsideThePoolIsHeldOnceAndKnownAsSentForGood) {
    ASSERT_TRUE(m_store->AddRange(0x100, 16).Ok());
    EXPECT_EQ(m_store->ReserveOutsidePool(0x105, kStationA, false).outcome,
              StoreOutcome::MacInPool);
    EXPECT_FALSE(m_store->LastMacSentOutsidePool().value);

    const auto first = m_store->ReserveOutsidePool(0x500, kStationA, false);
    ASSERT_TRUE(first.Ok()) << first.message;
    EXPECT_EQ(m_store->ReserveOutsidePool(0x500, kStationA, false).outcome, StoreOutcome::MacTaken);
    // The module that holds it may be written again with it.
    const auto again = m_store->ReserveOutsidePool(0x500, kStationA, true);
    ASSERT_TRUE(again.Ok()) << again.message;
    ASSERT_TRUE(m_store->EndOutsidePool(again.value.id, false, RecordAt(1000, "")).Ok());
    EXPECT_EQ(m_store->LastMacSentOutsidePool().value, std::optional<MacNumber>(0x500));

    // A MAC that no module took may be used again.
    const auto lower = m_store->ReserveOutsidePool(0x400, kStationA, false);
    ASSERT_TRUE(m_store->EndOutsidePool(lower.value.id, true, RecordAt(1000, "")).Ok());
    EXPECT_TRUE(m_store->ReserveOutsidePool(0x400, kStationA, false).Ok());
    EXPECT_EQ(m_store->LastMacSentOutsidePool().value, std::optional<MacNumber>(0x500));
    EXPECT_EQ(m_store->Records(std::nullopt).value.size(), 2u);
}

TEST_P(StationStoreContract, AProgrammedModuleIsFoundByItsOkRecordOrItsVerifiedPoolMac) {
    ASSERT_TRUE(m_store->AddRange(0x200, 4).Ok());
    ProductionRecord ok = RecordAt(5000, "00:00:00:00:07:00");
    ok.macSent = 0x700;
    ok.station = "station-b";
    ProductionRecord failed = RecordAt(6000, "00:00:00:00:07:01");
    failed.macSent = 0x701;
    failed.outcome = "failed";
    ASSERT_TRUE(m_store->AddRecord(ok).Ok());
    ASSERT_TRUE(m_store->AddRecord(failed).Ok());
    const Reservation verified = Reserve();
    ASSERT_TRUE(m_store->MarkVerified(verified.id, RecordAt(7000, "")).Ok());

    const auto byRecord = m_store->FindProgrammed(0x700);
    ASSERT_TRUE(byRecord.Ok()) << byRecord.message;
    EXPECT_EQ(byRecord.value, (ProgrammedMac{0x700, "station-b", "/dev/ttyUSB0", 5250}));
    const auto byPool = m_store->FindProgrammed(verified.mac);
    ASSERT_TRUE(byPool.value);
    EXPECT_EQ(byPool.value->station, "station-a");
    EXPECT_FALSE(m_store->FindProgrammed(0x701).value);
    EXPECT_FALSE(m_store->FindProgrammed(verified.mac + 1).value);
}

TEST_P(StationStoreContract, OnlyAQuarantinedMacCanBeReleased) {
    ASSERT_TRUE(m_store->AddRange(0x20, 4).Ok());
    const Reservation held = Reserve();
    for (const MacNumber mac : {held.mac, MacNumber{0x21}, MacNumber{0x99}}) {
        const StoreStatus released = m_store->Release(mac);
        EXPECT_EQ(released.outcome, StoreOutcome::NotQuarantined) << mac;
        EXPECT_FALSE(released.message.empty());
    }
    EXPECT_EQ(StateOf(held.mac), MacState::Reserved);
}

TEST_P(StationStoreContract, RecordsKeepEveryFieldAndAreListedOldestFirstFromATime) {
    ProductionRecord full = RecordAt(2000, "4E 5F 1A 2B 00 07");
    full.portByPath = "/dev/serial/by-path/pci-0000:00:14.0-usb-0:2:1.0-port0";
    full.moduleName = "KTR5520Q \"node\", 433";
    full.moduleVersion = "V2.1";
    full.moduleType = "root";
    full.macBefore = "4E 5F 1A 2B 00 00";
    full.configFile = "/home/line/ÿ settings.cfg";
    full.configSha256 = std::string(64, 'a');
    full.reason = "verify-mismatch";
    full.verified = false;
    full.readMs = 611;
    full.writeMs = 93;
    full.verifyMs = 0;
    full.macSent = 0x4E5F1A2B0007;
    full.rework = true;
    full.note = "acknowledgement lost";
    ProductionRecord bare = RecordAt(1000, "");
    ProductionRecord late = RecordAt(3000, "");
    late.verified = true;
    for (const ProductionRecord& record : {full, late, bare}) {
        ASSERT_TRUE(m_store->AddRecord(record).Ok());
    }
    const auto all = m_store->Records(std::nullopt);
    ASSERT_TRUE(all.Ok()) << all.message;
    EXPECT_EQ(all.value, (std::vector<ProductionRecord>{bare, full, late}));
    EXPECT_EQ(m_store->Records(2000).value, (std::vector<ProductionRecord>{full, late}));
    EXPECT_TRUE(m_store->Records(3001).value.empty());
}

TEST_P(StationStoreContract, AModuleNameThatIsNoTextIsKeptEscapedWithItsBytesRecoverable) {
    const std::string name("Lumivaro\xFF\xFE\x00\\n", 13);
    ProductionRecord record = RecordAt(1000, "");
    record.moduleName = name;
    ASSERT_TRUE(m_store->AddRecord(record).Ok());
    const auto records = m_store->Records(std::nullopt);
    ASSERT_TRUE(records.Ok()) << records.message;
    ASSERT_EQ(records.value.size(), 1u);
    EXPECT_EQ(records.value[0].moduleName, "Lumivaro\\xFF\\xFE\\x00\\\\n");
    EXPECT_EQ(BytesOfStoredText(records.value[0].moduleName), name);
}

TEST_P(StationStoreContract, ValuesThatLookLikeSqlAreKeptAsText) {
    ProductionRecord record = RecordAt(1000, "'); DROP TABLE production_record; --");
    record.station = "x' OR '1'='1";
    ASSERT_TRUE(m_store->AddRecord(record).Ok());
    ASSERT_TRUE(m_store->AddRange(0x10, 1).Ok());
    const Reservation held = Reserve({"'; DELETE FROM pool_mac; --", "$1"});
    EXPECT_TRUE(m_store->QuarantineUnfinished("' OR 1=1 --").value.quarantined.empty());
    EXPECT_EQ(m_store->Records(std::nullopt).value, std::vector<ProductionRecord>{record});
    EXPECT_EQ(StateOf(held.mac), MacState::Reserved);
}

// Ranges the pool refuses, each against a pool holding 0x1000..0x10FF.
struct RefusedRange {
    const char* name;
    MacNumber start;
    std::uint64_t count;
    StoreOutcome outcome;
};

void PrintTo(const RefusedRange& row, std::ostream* out) {
    *out << row.name;
}

const RefusedRange kRefusedRanges[] = {
    {"Empty", 0x2000, 0, StoreOutcome::RangeInvalid},
    {"PastTheLastAddress", 0xFFFFFFFFFFFF, 2, StoreOutcome::RangeInvalid},
    {"StartBeyondTheLastAddress", kMacNumberLimit, 1, StoreOutcome::RangeInvalid},
    {"CountThatWrapsAround", 0x2000, ~std::uint64_t{0}, StoreOutcome::RangeInvalid},
    {"SameRange", 0x1000, 0x100, StoreOutcome::RangeOverlaps},
    {"OverlapsTheStart", 0x0F00, 0x101, StoreOutcome::RangeOverlaps},
    {"OverlapsTheEnd", 0x10FF, 0x10, StoreOutcome::RangeOverlaps},
    {"Inside", 0x1010, 1, StoreOutcome::RangeOverlaps},
    {"Around", 0x0800, 0x1000, StoreOutcome::RangeOverlaps},
};

class StationStoreRefusedRange : public OpenStoreTest<std::tuple<BackendKind, RefusedRange>> {};

TEST_P(StationStoreRefusedRange, IsRefusedAndLeavesThePoolAsItWas) {
    const RefusedRange& row = std::get<1>(GetParam());
    ASSERT_TRUE(m_store->AddRange(0x1000, 0x100).Ok());
    const StoreStatus added = m_store->AddRange(row.start, row.count);
    EXPECT_EQ(added.outcome, row.outcome);
    EXPECT_FALSE(added.message.empty());
    EXPECT_EQ(Status().ranges, (std::vector<PoolRange>{{0x1000, 0x100}}));
}

INSTANTIATE_TABLE_FOR_BOTH_BACKENDS(StationStoreRefusedRange, kRefusedRanges);

TEST_P(StationStoreContract, RangesThatOnlyTouchAreAccepted) {
    ASSERT_TRUE(m_store->AddRange(0x1000, 0x100).Ok());
    EXPECT_TRUE(m_store->AddRange(0x0F00, 0x100).Ok());
    EXPECT_TRUE(m_store->AddRange(0x1100, 1).Ok());
    EXPECT_TRUE(m_store->AddRange(0xFFFFFFFFFFFF, 1).Ok());
    EXPECT_EQ(Status().free, 0x202u);
}

// Opens its store itself, at the schema version it needs.
using StationStoreUpgrade = StoreTest;

TEST_P(StationStoreUpgrade, AStoreOfSchemaVersionOneIsUpgradedInPlaceKeepingWhatItHeld) {
    ASSERT_TRUE(Open(1));
    // What a station of those days left: a MAC written, the next one fresh, a record.
    ASSERT_TRUE(m_backend->Execute(
        "INSERT INTO pool_range (start_mac, mac_count, next_offset, added_at) "
        "VALUES (1280, 10, 1, 0);"
        "INSERT INTO reservation (mac, station, port, holder_host, holder_pid, reserved_at) "
        "VALUES (1280, 'station-a', 'p', 'gone-host', 1, 0);"
        "INSERT INTO pool_mac (mac, state, reservation_id, changed_at) "
        "VALUES (1280, 'written', (SELECT id FROM reservation WHERE mac = 1280), 0);"
        "INSERT INTO production_record (time_start, time_end, station, port, module_name, "
        "module_version, module_type, mac_before, mac_written, config_file, config_sha256, "
        "outcome, reason) VALUES (1000, 1250, 'station-a', 'p', '', '', '', '', "
        "'4C:56:00:00:10:07', '', '', 'ok', 'ok')"));
    std::unique_ptr<StationStore> upgraded = Open();
    ASSERT_TRUE(upgraded);
    EXPECT_EQ(upgraded->SchemaVersion(), kCurrentSchemaVersion);
    EXPECT_EQ(upgraded->StateOf(1280).value, MacState::Written);
    EXPECT_EQ(upgraded->QuarantineUnfinished("station-a").value.otherHosts.size(), 1u);
    EXPECT_EQ(upgraded->Reserve(kStationA).value.mac, 1281u);
    const auto records = upgraded->Records(std::nullopt).value;
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].macSent, std::optional<MacNumber>(0x4C5600001007));
    EXPECT_EQ(upgraded->LastMacSentOutsidePool().value, records[0].macSent);
    EXPECT_TRUE(upgraded->FindProgrammed(0x4C5600001007).value);
    upgraded.reset();
    // Opening again finds it current and changes nothing.
    EXPECT_EQ(Open()->Records(std::nullopt).value.size(), 1u);
}

// What only a store on a server can meet.
using StationStoreOnServer = StationStoreContract;

TEST_P(StationStoreOnServer, ALostConnectionFailsTheStepAndHandsOutNoMac) {
    ASSERT_TRUE(m_store->AddRange(0x30, 4).Ok());
    ASSERT_TRUE(m_backend->DropConnections());
    const StoreResult<Reservation> held = m_store->Reserve(kStationA);
    EXPECT_EQ(held.outcome, StoreOutcome::DatabaseFailed);
    EXPECT_FALSE(held.message.empty());
    EXPECT_EQ(m_store->Status().outcome, StoreOutcome::DatabaseFailed);

    std::unique_ptr<StationStore> reopened = Open();
    ASSERT_TRUE(reopened);
    const PoolStatus status = reopened->Status().value;
    EXPECT_EQ(status.free, 4u);
    EXPECT_EQ(status.reserved, 0u);
}

INSTANTIATE_FOR_BOTH_BACKENDS(StationStoreContract);
INSTANTIATE_FOR_BOTH_BACKENDS(StationStoreUpgrade);
INSTANTIATE_TEST_SUITE_P(Backends, StationStoreOnServer, testing::Values(BackendKind::Postgres),
                         BackendName);

}  // namespace
