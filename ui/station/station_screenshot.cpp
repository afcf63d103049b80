// Writes a picture of a running station with slots in mixed states into docs/: modules
// programmed, a module that does not answer, a module pulled out mid-write and modules being
// read, over a station database holding a few hours of earlier records. Run with
// QT_QPA_PLATFORM=offscreen; the one argument is the folder to write into (default "docs").
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <memory>
#include <vector>

#include "link/arrival/injected_device_source.h"
#include "store/iso_time.h"
#include "store/open_station_store.h"
#include "tools/module_sim/simulated_module.h"
#include "ui/station/setup_strip.h"
#include "ui/station/slot_grid.h"
#include "ui/station/slot_tile.h"
#include "ui/station/station_controller.h"
#include "ui/station/station_window.h"
#include "ui/station/throughput_panel.h"

namespace {

constexpr std::uint64_t kPoolStart = 0x4C5600002000;
constexpr int kWaitMs = 20000;

// Earlier records: a line that ran for the last three and a half hours.
void AddEarlierRecords(StationStore& store) {
    const std::int64_t now = StoreClockNow();
    for (int i = 0; i < 420; ++i) {
        ProductionRecord record;
        record.timeEnd = now - 3'600'000LL * 7 / 2 + i * 30'000LL + (i % 7) * 900;
        record.timeStart = record.timeEnd - 1900 - (i % 5) * 150 - (i / 60) * 60;
        record.station = "line-1";
        record.port = "/dev/ttyUSB" + std::to_string(i % 8);
        record.macWritten = FormatMacAddress(MacFromNumber(0x4C5600001000 + i));
        record.outcome = i % 23 == 5 ? "failed" : "ok";
        record.reason = i % 23 == 5 ? "no_answer" : "ok";
        (void)store.AddRecord(record);
    }
}

bool SlotShows(StationWindow& window, const SimulatedModule& module, SlotState state) {
    SlotTile* tile = window.Slots().Tile(QString::fromStdString(module.PortPath()));
    return tile != nullptr && tile->State() == state;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs"));
    QTemporaryDir database;
    StoreResult<std::unique_ptr<StationStore>> store = OpenStationStore(
        "sqlite:" + database.filePath(QStringLiteral("station.sqlite")).toStdString());
    if (!store.Ok() || !store.value->AddRange(kPoolStart, 5000).Ok()) {
        std::fprintf(stderr, "no station database: %s\n", store.message.c_str());
        return 1;
    }
    AddEarlierRecords(*store.value);
    auto injected = std::make_unique<InjectedDeviceSource>();
    InjectedDeviceSource& arrivals = *injected;
    const std::string empty = database.path().toStdString();
    StationController controller(std::move(injected), std::move(store.value),
                                 PortInventory(empty, empty));
    StationWindow window(controller);
    // A path relative to the source tree, so the picture shows no folder of the machine it was
    // made on.
    QDir::setCurrent(QStringLiteral(LVCFG_SOURCE_DIR));
    window.Strip().LoadConfig(QStringLiteral("tests/data/read_module.cfg"));
    window.Strip().SetStationName(QStringLiteral("line-1"));
    window.resize(1400, 900);
    window.show();
    window.StartStation();

    std::vector<std::unique_ptr<SimulatedModule>> modules;
    for (int i = 0; i < 8; ++i) {
        SimulatedModuleOptions options;
        options.pacing = Pacing::LineRate;
        options.identity.mac = MacPlus(options.identity.mac, static_cast<unsigned>(i));
        modules.push_back(std::make_unique<SimulatedModule>(options));
        if (!modules.back()->Start()) {
            return 1;
        }
    }
    modules[2]->MisbehaveAlways(Misbehaviour::Silent);
    modules[5]->MisbehaveOnce(RequestKind::Write, Misbehaviour::VanishMidAnswer);
    modules[6]->MisbehaveAlways(Misbehaviour::Silent);
    modules[7]->MisbehaveAlways(Misbehaviour::Silent);
    auto plug = [&](int i, const char* action) {
        (void)arrivals.Inject(
            UsbSerialReport(action, "ttyUSB" + std::to_string(i), modules[i]->PortPath()));
    };
    for (int i = 0; i < 6; ++i) {
        plug(i, "add");
    }
    bool ended = QTest::qWaitFor(
        [&] {
            for (int i = 0; i < 6; ++i) {
                if (!SlotShows(window, *modules[i], SlotState::Done) &&
                    !SlotShows(window, *modules[i], SlotState::Failed)) {
                    return false;
                }
            }
            return true;
        },
        kWaitMs);
    plug(5, "remove");
    // The last two do not answer, so they are caught being read.
    modules[6]->MisbehaveAlways(Misbehaviour::Silent);
    plug(6, "add");
    plug(7, "add");
    ended = ended && QTest::qWaitFor(
                         [&] {
                             return SlotShows(window, *modules[6], SlotState::Reading) &&
                                    SlotShows(window, *modules[7], SlotState::Reading);
                         },
                         kWaitMs);
    QTest::qWait(300);  // the elapsed time shows a few tenths
    window.Throughput().Refresh();
    const QString path = folder.filePath(QStringLiteral("station-window.png"));
    const bool saved = ended && window.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
    window.StopStation();
    return saved ? 0 : 1;
}
