// Writes two pictures of a running station into docs/, over a station database holding a few
// hours of earlier records: on a 1920x1080 wall screen with slots in mixed states, and on a
// 1024x768 screen where the pool runs out and the banner says so. Run with
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

bool SlotEnded(StationWindow& window, const SimulatedModule& module) {
    SlotTile* tile = window.Slots().Tile(QString::fromStdString(module.PortPath()));
    return tile != nullptr && !SlotStateBusy(tile->State()) && !tile->ResultText().isEmpty();
}

// One picture: a station of `size` over a pool of `poolSize` MACs. Eight modules are plugged
// in: the third never answers, the sixth vanishes mid-write and is pulled out; the first is
// pulled out once done, so its result fades beside the fresh ones; the last two are caught
// being read. With a small pool the last modules find no MAC, and the banner says so.
bool Render(const QDir& folder, const QString& name, QSize size, std::uint64_t poolSize) {
    QTemporaryDir database;
    StoreResult<std::unique_ptr<StationStore>> store = OpenStationStore(
        "sqlite:" + database.filePath(QStringLiteral("station.sqlite")).toStdString());
    if (!store.Ok() || !store.value->AddRange(kPoolStart, poolSize).Ok()) {
        std::fprintf(stderr, "no station database: %s\n", store.message.c_str());
        return false;
    }
    AddEarlierRecords(*store.value);
    auto injected = std::make_unique<InjectedDeviceSource>();
    InjectedDeviceSource& arrivals = *injected;
    const std::string empty = database.path().toStdString();
    StationController controller(std::move(injected), std::move(store.value),
                                 PortInventory(empty, empty));
    StationWindow window(controller);
    window.Strip().SetStoreLocation(QStringLiteral("/var/lib/lvcfg/station.sqlite"));
    window.Strip().LoadConfig(QStringLiteral("tests/data/read_module.cfg"));
    window.Strip().SetStationName(QStringLiteral("line-1"));
    window.resize(size);
    window.show();
    window.StartStation();

    std::vector<std::unique_ptr<SimulatedModule>> modules;
    for (int i = 0; i < 8; ++i) {
        SimulatedModuleOptions options;
        options.pacing = Pacing::LineRate;
        options.identity.mac = MacPlus(options.identity.mac, static_cast<unsigned>(i));
        modules.push_back(std::make_unique<SimulatedModule>(options));
        if (!modules.back()->Start()) {
            return false;
        }
    }
    modules[2]->MisbehaveAlways(Misbehaviour::Silent);
    modules[5]->MisbehaveOnce(RequestKind::Write, Misbehaviour::VanishMidAnswer);
    auto plug = [&](int i, const char* action) {
        (void)arrivals.Inject(
            UsbSerialReport(action, "ttyUSB" + std::to_string(i), modules[i]->PortPath()));
    };
    bool ended = true;
    for (int i = 0; i < 6; ++i) {
        plug(i, "add");
        // One after another, so a small pool runs out at the same slots every time.
        ended = ended && QTest::qWaitFor([&] { return SlotEnded(window, *modules[i]); }, kWaitMs);
    }
    plug(0, "remove");
    plug(5, "remove");
    // The last two do not answer, so they are caught being read.
    modules[6]->MisbehaveAlways(Misbehaviour::Silent);
    modules[7]->MisbehaveAlways(Misbehaviour::Silent);
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
    const QString path = folder.filePath(name);
    const bool saved = ended && window.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
    window.StopStation();
    return saved;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QDir folder(
        QDir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs")).absolutePath());
    // A path relative to the source tree, so the picture shows no folder of the machine it was
    // made on.
    QDir::setCurrent(QStringLiteral(LVCFG_SOURCE_DIR));
    const bool wall = Render(folder, QStringLiteral("station-window.png"), QSize(1920, 1080), 5000);
    const bool small =
        Render(folder, QStringLiteral("station-window-1024x768.png"), QSize(1024, 768), 3);
    return wall && small ? 0 : 1;
}
