// The station window driven as on a production line: modules plugged into slots while the
// station runs, each slot's tile telling how its module ended, and the record and the pool
// agreeing with the tiles.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <set>

#include "link/arrival/injected_device_source.h"
#include "model/mac_address.h"
#include "station/order_config.h"
#include "station_rig.h"
#include "ui/station/order_picker.h"
#include "ui/station/records_table.h"
#include "ui/station/setup_strip.h"
#include "ui/station/slot_grid.h"
#include "ui/station/slot_tile.h"
#include "ui/station/station_banner.h"
#include "ui/station/throughput_panel.h"

namespace {

enum class Module {
    Good,
    Silent,             // never answers
    PulledOutMidWrite,  // gone halfway through its acknowledgement, then unplugged
    KeepsOtherBlock,    // acknowledges the write but keeps a different block
};

struct SlotExpectation {
    Module module;
    SlotState state;
    const char* failure;  // part of the tile's failure text; empty for a success
};

struct StationRow {
    const char* name;
    std::uint64_t poolSize;
    std::vector<SlotExpectation> expected;  // one slot each, in the order plugged in
    int recordsOk;
    int recordsFailed;
    std::uint64_t freeAfter;
    bool oneAfterAnother = false;  // each module plugged in once the one before has ended
};

void PrintTo(const StationRow& row, std::ostream* out) {
    *out << row.name;
}

std::string PrintRow(const ::testing::TestParamInfo<StationRow>& info) {
    return info.param.name;
}

class StationRunTest : public ::testing::TestWithParam<StationRow> {};

bool Ended(SlotTile* tile) {
    return tile != nullptr &&
           (tile->State() == SlotState::Done || tile->State() == SlotState::Failed);
}

MacAddress MacOfTile(const SlotTile& tile) {
    const auto mac = ParseMacAddress(tile.MacText().section(QLatin1Char(' '), 1).toStdString());
    EXPECT_TRUE(mac.has_value()) << tile.MacText().toStdString();
    return mac.value_or(MacAddress{});
}

int CsvRows(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return static_cast<int>(file.readAll().count('\n')) - 1;  // without the header
}

TEST_P(StationRunTest, EachSlotEndsAsItsModuleDidAndTheRecordAndPoolAgree) {
    const StationRow& row = GetParam();
    StationRig rig(row.poolSize);
    for (const SlotExpectation& slot : row.expected) {
        SimulatedModule& module = rig.AddModule();
        if (slot.module == Module::Silent) {
            module.MisbehaveAlways(Misbehaviour::Silent);
        } else if (slot.module == Module::KeepsOtherBlock) {
            module.MisbehaveOnce(RequestKind::Write, Misbehaviour::StoreOther);
        } else if (slot.module == Module::PulledOutMidWrite) {
            module.MisbehaveOnce(RequestKind::Write, Misbehaviour::VanishMidAnswer);
        }
    }
    QTest::keyClick(&rig.Window(), Qt::Key_F5);
    ASSERT_TRUE(rig.Controller().Running()) << rig.Window().Strip().Message().toStdString();

    for (std::size_t i = 0; i < row.expected.size(); ++i) {
        rig.Plug(i);
        if (row.oneAfterAnother) {
            ASSERT_TRUE(rig.WaitUntil([&] { return Ended(rig.Tile(i)); }));
        }
    }
    for (std::size_t i = 0; i < row.expected.size(); ++i) {
        if (row.expected[i].module == Module::PulledOutMidWrite) {
            ASSERT_TRUE(rig.WaitUntil(
                [&] { return rig.Tile(i) && rig.Tile(i)->State() != SlotState::Waiting; }));
            rig.Unplug(i);
        }
    }
    ThroughputPanel& counters = rig.Window().Throughput();
    ASSERT_TRUE(rig.WaitUntil([&] {
        for (std::size_t i = 0; i < row.expected.size(); ++i) {
            if (!Ended(rig.Tile(i))) {
                return false;
            }
        }
        return counters.Figures().Modules() + counters.Figures().Failed() ==
               row.recordsOk + row.recordsFailed;
    }));

    const std::unique_ptr<StationStore> store = rig.OpenStore();
    std::set<std::uint64_t> macsDone;
    for (std::size_t i = 0; i < row.expected.size(); ++i) {
        const SlotExpectation& slot = row.expected[i];
        SCOPED_TRACE("slot " + std::to_string(i));
        ASSERT_NE(rig.Tile(i), nullptr) << "a slot left its place";
        SlotTile& tile = *rig.Tile(i);
        EXPECT_EQ(tile.StateWord(), SlotStateWord(slot.state));
        EXPECT_TRUE(tile.FailureText().contains(QString::fromUtf8(slot.failure)))
            << tile.FailureText().toStdString();
        if (slot.state == SlotState::Done) {
            const MacAddress mac = MacOfTile(tile);
            EXPECT_EQ(MacOfFrame(rig.Module(i).StoredFrame()), mac);
            EXPECT_TRUE(macsDone.insert(MacToNumber(mac)).second) << "MAC handed out twice";
            EXPECT_EQ(store->StateOf(MacToNumber(mac)).value, MacState::Verified);
        }
        if (tile.FailureText().contains(QStringLiteral("pool_empty"))) {
            // Read once to see whether it was programmed before, never written.
            EXPECT_EQ(rig.Module(i).ReadRequests(), 1);
            EXPECT_EQ(rig.Module(i).WriteRequests(), 0);
        }
    }
    EXPECT_EQ(counters.Figures().Modules(), row.recordsOk);
    EXPECT_EQ(counters.Figures().Failed(), row.recordsFailed);
    EXPECT_EQ(store->Status().value.free, row.freeAfter);

    // The table filters by outcome and exports what it shows.
    RecordsTable& records = rig.Window().Records();
    EXPECT_EQ(records.RowsShown(), row.recordsOk + row.recordsFailed);
    records.FilterByOutcome(QStringLiteral("failed"));
    EXPECT_EQ(records.RowsShown(), row.recordsFailed);
    QTemporaryDir exportFolder;
    const QString csv = exportFolder.filePath(QStringLiteral("failed.csv"));
    ASSERT_TRUE(records.ExportCsv(csv));
    EXPECT_EQ(CsvRows(csv), row.recordsFailed);

    QTest::keyClick(&rig.Window(), Qt::Key_F5, Qt::ShiftModifier);
    EXPECT_FALSE(rig.Controller().Running());
    EXPECT_TRUE(rig.WaitUntil([&] { return !rig.Controller().Finishing(); }));
}

constexpr SlotExpectation kDone{Module::Good, SlotState::Done, ""};

INSTANTIATE_TEST_SUITE_P(
    Station, StationRunTest,
    ::testing::Values(
        StationRow{"EightSlotsInParallel",
                   100,
                   {kDone, kDone, kDone, kDone, kDone, kDone, kDone, kDone},
                   8,
                   0,
                   92},
        StationRow{
            "SilentModuleFailsWithTheWindowsTextAndGivesItsMacBack",
            100,
            {kDone,
             {Module::Silent, SlotState::Failed, "Module does not response!\nreason: no_answer"}},
            1,
            1,
            99},
        StationRow{"ModulePulledOutMidWriteHoldsItsMacOutAsSuspectAndItsSlotKeepsThePlace",
                   100,
                   {{Module::PulledOutMidWrite, SlotState::Failed, "reason: mac_suspect"}, kDone},
                   1,
                   1,
                   98},
        StationRow{"ReadBackMismatchFailsAndKeepsItsMacUsed",
                   100,
                   {{Module::KeepsOtherBlock, SlotState::Failed, "reason: verify_failed"}, kDone},
                   1,
                   1,
                   98},
        StationRow{"PoolRunningOutLeavesTheLastModuleUnwritten",
                   2,
                   {kDone, kDone, {Module::Good, SlotState::Failed, "reason: pool_empty"}},
                   2,
                   1,
                   0,
                   true}),
    PrintRow);

TEST(StationStart, OnAnEmptyPoolRunsAndWritesNoModuleWithoutAMac) {
    StationRig rig(0);
    SimulatedModule& module = rig.AddModule();
    QTest::keyClick(&rig.Window(), Qt::Key_F5);
    ASSERT_TRUE(rig.Controller().Running()) << rig.Window().Strip().Message().toStdString();
    rig.Plug(0);
    ASSERT_TRUE(rig.WaitUntil([&] { return Ended(rig.Tile(0)); }));
    EXPECT_TRUE(rig.Tile(0)->FailureText().contains(QStringLiteral("reason: pool_empty")))
        << rig.Tile(0)->FailureText().toStdString();
    EXPECT_EQ(module.WriteRequests(), 0);
}

TEST(StationStart, IsRefusedWithoutAStationDatabaseAndTheBannerSaysWhatToDo) {
    StationController controller(std::make_unique<InjectedDeviceSource>(), nullptr,
                                 PortInventory("/nonexistent", "/nonexistent"));
    controller.NoteArrivalsUnseen(QStringLiteral("udev is not running here"));
    StationSetup setup;
    setup.settings = ConfigSettings(0);
    EXPECT_TRUE(controller.Start(setup).contains(QStringLiteral("no station database")));
    EXPECT_FALSE(controller.Running());
    const QString banner = StationWindow(controller).Banner().Lines().join(QLatin1Char(' '));
    EXPECT_TRUE(banner.contains(QStringLiteral("RECORDS NOT KEPT"))) << banner.toStdString();
    EXPECT_TRUE(banner.contains(QStringLiteral("udev is not running here")));
}

}  // namespace

namespace {

TEST(StationPool, AModulePluggedInAgainIsAlreadyDoneAndNotWrittenAgain) {
    StationRig rig(100);
    SimulatedModule& module = rig.AddModule();
    QTest::keyClick(&rig.Window(), Qt::Key_F5);
    ASSERT_TRUE(rig.Controller().Running());
    rig.Plug(0);
    ASSERT_TRUE(rig.WaitUntil([&] { return Ended(rig.Tile(0)); }));
    const MacAddress first = MacOfFrame(module.StoredFrame());

    rig.Unplug(0);
    rig.Plug(0);
    ASSERT_TRUE(rig.WaitUntil(
        [&] { return rig.Tile(0) && rig.Tile(0)->State() == SlotState::AlreadyDone; }));
    EXPECT_EQ(rig.Tile(0)->StateWord(), QStringLiteral("ALREADY DONE"));
    EXPECT_EQ(rig.Tile(0)->MacText(),
              QStringLiteral("MAC ") + QString::fromStdString(FormatMacAddress(first)));
    EXPECT_TRUE(rig.Tile(0)->FailureText().contains(QStringLiteral("by station line-1 at ")))
        << rig.Tile(0)->FailureText().toStdString();
    EXPECT_EQ(module.WriteRequests(), 1);
    EXPECT_EQ(rig.OpenStore()->Status().value.free, 99u);
}

// An order picked below the strip is programmed from the store; at its quantity the window
// says ORDER COMPLETE and the station stops taking modules.
TEST(StationOrder, APickedOrderRunsToItsQuantityThenSaysOrderCompleteAndStops) {
    StationRig rig(100);
    SimulatedModule& module = rig.AddModule();
    ASSERT_TRUE(rig.OpenStore()
                    ->CreateOrder(NewOrderOf("WO-1", module.StoredFrame(), 1, "wo.cfg", "lead"))
                    .Ok());
    OrderPicker& picker = rig.Window().Orders();
    QTest::mouseClick(picker.findChild<QPushButton*>(), Qt::LeftButton);
    auto* orders = picker.findChild<QComboBox*>();
    ASSERT_EQ(orders->count(), 2);
    orders->setCurrentIndex(1);
    QTest::keyClick(&rig.Window(), Qt::Key_F5);
    ASSERT_TRUE(rig.Controller().Running()) << rig.Window().Strip().Message().toStdString();
    rig.Plug(0);
    ASSERT_TRUE(rig.WaitUntil([&] { return !rig.Controller().Running(); }));
    EXPECT_EQ(rig.Tile(0)->State(), SlotState::Done);
    bool told = false;
    for (const QLabel* label : picker.findChildren<QLabel*>()) {
        told =
            told || (label->isVisible() && label->text() == QStringLiteral("ORDER COMPLETE: WO-1"));
    }
    EXPECT_TRUE(told);
    EXPECT_EQ(rig.OpenStore()->Order("WO-1").value.row.verified, 1);
}

TEST(StationStartMac, MovesOnWithEveryMacSentSoStopAndStartNeverRepeatOne) {
    StationRig rig(0);
    rig.AddModule();
    rig.AddModule();
    SetupStrip& strip = rig.Window().Strip();
    strip.UsePool(false);
    strip.SetStartMac(QStringLiteral("4C:56:00:00:50:00"));
    QTest::keyClick(&rig.Window(), Qt::Key_F5);
    ASSERT_TRUE(rig.Controller().Running()) << strip.Message().toStdString();
    rig.Plug(0);
    ASSERT_TRUE(rig.WaitUntil([&] { return Ended(rig.Tile(0)); }));
    QTest::keyClick(&rig.Window(), Qt::Key_F5, Qt::ShiftModifier);
    ASSERT_TRUE(rig.WaitUntil([&] { return !rig.Controller().Finishing(); }));
    EXPECT_EQ(strip.Setup().startMac, ParseMacAddress("4C:56:00:00:50:01"));

    QTest::keyClick(&rig.Window(), Qt::Key_F5);
    ASSERT_TRUE(rig.Controller().Running()) << strip.Message().toStdString();
    rig.Plug(1);
    ASSERT_TRUE(rig.WaitUntil([&] { return Ended(rig.Tile(1)); }));
    EXPECT_EQ(MacOfFrame(rig.Module(1).StoredFrame()), *ParseMacAddress("4C:56:00:00:50:01"));
}

}  // namespace
