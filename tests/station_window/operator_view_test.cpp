// What an operator sees of the line: counters that count modules apart from attempts, a
// result that fades once its module is pulled out, a banner that stays while the pool is
// empty, a window that fits a 1024x768 screen, and a close that asks while modules are in
// flight.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "station_rig.h"
#include "tests/cli/child_process.h"
#include "ui/station/natural_order.h"
#include "ui/station/records_table.h"
#include "ui/station/setup_strip.h"
#include "ui/station/slot_grid.h"
#include "ui/station/slot_tile.h"
#include "ui/station/station_banner.h"
#include "ui/station/throughput_panel.h"

namespace {

bool Ended(SlotTile* tile) {
    return tile != nullptr && !SlotStateBusy(tile->State()) && !tile->ResultText().isEmpty();
}

bool BannerSays(StationWindow& window, const char* words) {
    return window.Banner().isVisibleTo(&window) &&
           window.Banner().Lines().join(QLatin1Char(' ')).contains(QString::fromUtf8(words));
}

void Start(StationRig& rig) {
    QTest::keyClick(&rig.Window(), Qt::Key_F5);
    ASSERT_TRUE(rig.Controller().Running()) << rig.Window().Strip().Message().toStdString();
}

TEST(OperatorView, CountsModulesApartFromAttemptsAndAPulledModulesResultFades) {
    StationRig rig(100);
    rig.AddModule();
    Start(rig);
    rig.Plug(0);
    ASSERT_TRUE(rig.WaitUntil([&] { return Ended(rig.Tile(0)); }));
    SlotTile& tile = *rig.Tile(0);
    EXPECT_TRUE(tile.ResultText().startsWith(QStringLiteral("#1 at ")));
    rig.Unplug(0);
    ASSERT_TRUE(rig.WaitUntil([&] { return tile.Faded(); }));
    rig.Plug(0);
    ASSERT_TRUE(rig.WaitUntil([&] { return tile.State() == SlotState::AlreadyDone; }));
    EXPECT_FALSE(tile.Faded());
    EXPECT_TRUE(tile.ResultText().startsWith(QStringLiteral("#2 at ")));

    ThroughputPanel& counters = rig.Window().Throughput();
    ASSERT_TRUE(rig.WaitUntil([&] { return counters.Figures().Attempts() == 2; }));
    EXPECT_EQ(counters.CounterText(QStringLiteral("Modules")), QStringLiteral("1"));
    EXPECT_EQ(counters.CounterText(QStringLiteral("Attempts")), QStringLiteral("2"));
    // Seconds of work give no hourly pace.
    EXPECT_EQ(counters.CounterText(QStringLiteral("Per hour")), QStringLiteral("-"));
}

TEST(OperatorView, AnEmptyPoolsBannerStaysUntilMacsAreAddedFromElsewhere) {
    StationRig rig(0);
    rig.AddModule();
    EXPECT_TRUE(BannerSays(rig.Window(), "MAC POOL EMPTY"));
    Start(rig);
    rig.Plug(0);
    ASSERT_TRUE(rig.WaitUntil([&] { return Ended(rig.Tile(0)); }));
    EXPECT_TRUE(BannerSays(rig.Window(), "lvcfg-cli pool add"));
    EXPECT_EQ(rig.Window().Throughput().CounterText(QStringLiteral("Failed")), QStringLiteral("1"));

    ASSERT_TRUE(rig.OpenStore()->AddRange(StationRig::PoolStart(), 5).Ok());
    // The window reads the pool every few seconds by itself.
    ASSERT_TRUE(rig.WaitUntil([&] { return !rig.Window().Banner().isVisibleTo(&rig.Window()); }));
    EXPECT_TRUE(rig.Window().Strip().findChild<QRadioButton*>()->text().contains("(5 free)"));
}

// The window at the smallest screen a station has, with a failure's long text on a tile.
TEST(OperatorView, FitsA1024x768ScreenWithNothingCutOff) {
    StationRig rig(100);
    rig.AddModule();
    rig.AddModule().MisbehaveOnce(RequestKind::Write, Misbehaviour::VanishMidAnswer);
    StationWindow& window = rig.Window();
    window.resize(1024, 768);
    EXPECT_LE(window.minimumSizeHint().width(), 1024);
    EXPECT_LE(window.minimumSizeHint().height(), 768);
    Start(rig);
    rig.Plug(0);
    rig.Plug(1);
    ASSERT_TRUE(rig.WaitUntil([&] { return Ended(rig.Tile(0)) && Ended(rig.Tile(1)); }));
    QApplication::processEvents();

    const auto* failure = rig.Tile(1)->findChild<QLabel*>(QStringLiteral("failure"));
    ASSERT_TRUE(failure->text().contains(QStringLiteral("mac_suspect")));
    EXPECT_GE(failure->height(), failure->heightForWidth(failure->width())) << "reason cut off";
    for (const auto* field : window.Strip().findChildren<QLineEdit*>()) {
        const QString wanted = field->isReadOnly() ? QString() : field->placeholderText();
        EXPECT_GE(field->width(), field->fontMetrics().horizontalAdvance(wanted));
    }
    const auto* table = window.Records().findChild<QTableView*>();
    const int outcomeEnd = table->columnViewportPosition(2) + table->columnWidth(2);
    EXPECT_LE(outcomeEnd, table->viewport()->width()) << "the outcome scrolls away";
    // Kept beside the test program for people to look at.
    EXPECT_TRUE(window.grab().save(QStringLiteral("station-1024x768.png")));
}

TEST(OperatorView, ClosingDuringARunAsksFirstAndNamesTheModulesInFlight) {
    StationRig rig(100);
    // Stores its frame and never answers: in flight for the whole wait for "ATOK" and more.
    rig.AddModule().MisbehaveAlways(Misbehaviour::StoreNoAck);
    Start(rig);
    rig.Plug(0);
    ASSERT_TRUE(rig.WaitUntil([&] { return rig.Controller().InFlight() == 1; }));
    QString asked;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        asked = box->informativeText();
        box->button(QMessageBox::Cancel)->click();
    });
    EXPECT_FALSE(rig.Window().close());
    EXPECT_TRUE(asked.contains(QStringLiteral("1 module is being programmed")))
        << asked.toStdString();
    EXPECT_TRUE(rig.Controller().Running());
}

TEST(OperatorView, AConfigFileThatDidNotLoadKeepsItsPathAndMessageAtStart) {
    StationRig rig(100);
    SetupStrip& strip = rig.Window().Strip();
    const QString missing = QDir(rig.Folder()).filePath(QStringLiteral("missing.cfg"));
    EXPECT_FALSE(strip.LoadConfig(missing));
    QTest::keyClick(&rig.Window(), Qt::Key_F5);
    EXPECT_FALSE(rig.Controller().Running());
    EXPECT_TRUE(strip.Message().startsWith(missing + QStringLiteral(": ")))
        << strip.Message().toStdString();
    EXPECT_EQ(QString::fromStdString(strip.Setup().configPath), missing);
}

TEST(OperatorView, HelpIsPrintedWithoutADisplay) {
    const ProgramRun run =
        RunProgram(LVCFG_STATION_PATH, {"--help"},
                   {{"QT_QPA_PLATFORM", ""}, {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_NE(run.out.find("--station-db"), std::string::npos) << run.out;
}

TEST(SlotOrder, CountsNumbersAsNumbers) {
    QStringList names{"pts/11", "pts/2", "ttyUSB10", "ttyUSB9"};
    std::sort(names.begin(), names.end(), NaturalLess);
    EXPECT_EQ(names, QStringList({"pts/2", "pts/11", "ttyUSB9", "ttyUSB10"}));
}

}  // namespace
