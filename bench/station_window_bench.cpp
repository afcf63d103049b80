// The station window while it programs: the longest stall of its thread during 8-slot runs,
// and the time of a run of 8 slots against a run of one. Simulated modules answer at the line
// rate (115200 bit/s), over a real SQLite station database. Run with QT_QPA_PLATFORM=offscreen;
// the one argument is the number of rounds (default 5).
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "link/arrival/injected_device_source.h"
#include "store/open_station_store.h"
#include "tools/module_sim/simulated_module.h"
#include "ui/station/setup_strip.h"
#include "ui/station/station_controller.h"
#include "ui/station/station_window.h"
#include "ui/station/throughput_panel.h"

namespace {

constexpr std::size_t kSlots = 8;
constexpr int kDeadlineMs = 60000;

// The longest time the window's thread went without coming back to its event loop: the
// largest gap between two timeouts of a 1 ms precise timer. It includes the time the thread
// waited for a core, which the simulated modules and the programming threads share with it.
class StallMeter : public QObject {
  public:
    StallMeter() {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            m_longestNs = std::max(m_longestNs, now - m_last);
            m_last = now;
        });
    }
    void Start() {
        m_longestNs = 0;
        m_clock.start();
        m_last = 0;
        m_timer.start();
    }
    double StopMs() {
        m_timer.stop();
        return static_cast<double>(m_longestNs) / 1e6;
    }

  private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longestNs = 0;
};

// The application, timing each event it hands out: the longest one names what stalls.
class TimedApplication : public QApplication {
  public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        if (m_depth++ > 0) {
            if (event->type() != QEvent::Paint) {
                const bool handled = QApplication::notify(receiver, event);
                --m_depth;
                return handled;
            }
            QElapsedTimer painting;
            painting.start();
            const std::string painted = receiver->metaObject()->className();
            const bool handled = QApplication::notify(receiver, event);
            paintNs[painted] += painting.nsecsElapsed();
            --m_depth;
            return handled;
        }
        QElapsedTimer took;
        took.start();
        const QEvent::Type type = event->type();
        const char* name = receiver->metaObject()->className();
        const bool handled = QApplication::notify(receiver, event);
        --m_depth;
        const qint64 ns = took.nsecsElapsed();
        if (type == QEvent::Paint) {
            paintNs[name] += ns;
        }
        if (ns > longestNs) {
            longestNs = ns;
            longestType = type;
            longestReceiver = name;
        }
        return handled;
    }

    qint64 longestNs = 0;
    std::map<std::string, qint64> paintNs;
    int longestType = 0;
    const char* longestReceiver = "";

  private:
    int m_depth = 0;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    TimedApplication application(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    QTemporaryDir database;
    StoreResult<std::unique_ptr<StationStore>> store = OpenStationStore(
        "sqlite:" + database.filePath(QStringLiteral("station.sqlite")).toStdString());
    if (!store.Ok() || !store.value->AddRange(0x4C5600100000, 100000).Ok()) {
        std::fprintf(stderr, "no station database: %s\n", store.message.c_str());
        return 1;
    }
    auto injected = std::make_unique<InjectedDeviceSource>();
    InjectedDeviceSource& arrivals = *injected;
    const std::string empty = database.path().toStdString();
    StationController controller(std::move(injected), std::move(store.value),
                                 PortInventory(empty, empty));
    StationWindow window(controller);
    window.Strip().LoadConfig(QStringLiteral(LVCFG_SOURCE_DIR "/tests/data/read_module.cfg"));
    window.resize(1400, 900);
    window.show();
    window.StartStation();

    std::vector<std::unique_ptr<SimulatedModule>> modules;
    for (std::size_t i = 0; i < kSlots; ++i) {
        SimulatedModuleOptions options;
        options.pacing = Pacing::LineRate;
        modules.push_back(std::make_unique<SimulatedModule>(options));
        if (!modules.back()->Start()) {
            return 1;
        }
    }
    ThroughputPanel& counters = window.Throughput();
    QObject::connect(&controller, &StationController::recordKept, [](const ProductionRecord& r) {
        if (r.outcome != "ok") {
            std::printf("failed: %s %s %s\n", r.port.c_str(), r.macWritten.c_str(),
                        r.reason.c_str());
        }
    });
    // Plugs `count` modules in and waits until each is recorded; the run's time in ms.
    auto run = [&](std::size_t count) {
        const int before = counters.Figures().Attempts();
        QElapsedTimer took;
        took.start();
        for (std::size_t i = 0; i < count; ++i) {
            (void)arrivals.Inject(
                UsbSerialReport("add", "ttyUSB" + std::to_string(i), modules[i]->PortPath()));
        }
        // A real event loop, as the program runs: a test's waiting helper would sleep between
        // its rounds of events and count the sleep as a stall.
        QEventLoop loop;
        bool ended = false;
        const QMetaObject::Connection recorded =
            QObject::connect(&controller, &StationController::recordKept, &loop, [&] {
                if (counters.Figures().Attempts() >= before + int(count)) {
                    ended = true;
                    loop.quit();
                }
            });
        QTimer::singleShot(kDeadlineMs, &loop, &QEventLoop::quit);
        loop.exec();
        QObject::disconnect(recorded);
        return ended ? static_cast<double>(took.nsecsElapsed()) / 1e6 : -1.0;
    };

    StallMeter stall;
    std::vector<double> eightMs;
    std::vector<double> oneMs;
    std::vector<double> stallMs;
    (void)run(kSlots);  // warm-up: slots appear, the database warms
    application.longestNs = 0;
    for (int r = 0; r < rounds; ++r) {
        stall.Start();
        eightMs.push_back(run(kSlots));
        stallMs.push_back(stall.StopMs());
        oneMs.push_back(run(1));
    }
    std::printf("rounds: %d, %zu slots, line-rate modules, SQLite pool, verify on\n", rounds,
                kSlots);
    std::printf("8 slots: median %.0f ms per run (%.0f ms per module)\n", Median(eightMs),
                Median(eightMs) / kSlots);
    std::printf("1 slot:  median %.0f ms per run\n", Median(oneMs));
    std::printf("longest GUI-thread stall in an 8-slot run: median %.2f ms, worst %.2f ms\n",
                Median(stallMs), *std::max_element(stallMs.begin(), stallMs.end()));
    std::printf("longest single event: %.2f ms, type %d to a %s\n",
                static_cast<double>(application.longestNs) / 1e6, application.longestType,
                application.longestReceiver);
    for (const auto& [name, ns] : application.paintNs) {
        std::printf("paint %s: %.1f ms\n", name.c_str(), static_cast<double>(ns) / 1e6);
    }
    std::printf("failed modules: %d\n", counters.Figures().Failed());
    window.StopStation();
    return 0;
}
