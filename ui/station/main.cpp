// lvcfg-station: the production window of a programming station.
#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QScreen>
#include <QSysInfo>
#include <QTextStream>
#include <clocale>
#include <cstring>
#include <memory>

#include "link/arrival/injected_device_source.h"
#include "link/arrival/udev_device_source.h"
#include "link/port_inventory.h"
#include "store/open_station_store.h"
#include "store/store_url.h"
#include "ui/station/line_simulation.h"
#include "ui/station/setup_strip.h"
#include "ui/station/station_controller.h"
#include "ui/station/station_window.h"

namespace {

struct Options {
    QString config;
    QString store;
    QString station;
    QString macStart;
    bool noVerify = false;
    bool rework = false;
    int ackTimeoutMs = 1000;
    int simulate = 0;
};

Options ParseOptions(QCoreApplication& application) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Programs every module plugged into the station's adapters."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption config(QStringLiteral("config"), QStringLiteral("The .cfg file."),
                                    QStringLiteral("FILE"));
    const QCommandLineOption store(
        QStringLiteral("station-db"),
        QStringLiteral("The production record and MAC pool: sqlite:PATH or postgresql://... "
                       "(default: $LVCFG_STATION_DB, else sqlite:$XDG_DATA_HOME/lvcfg/"
                       "station.sqlite)."),
        QStringLiteral("URL"));
    const QCommandLineOption station(QStringLiteral("station"),
                                     QStringLiteral("This station's name in the record and the "
                                                    "pool (default: the host name)."),
                                     QStringLiteral("NAME"));
    const QCommandLineOption macStart(
        QStringLiteral("mac-start"),
        QStringLiteral("Take MACs from this one on, not from the pool."), QStringLiteral("MAC"));
    const QCommandLineOption noVerify(QStringLiteral("no-verify"),
                                      QStringLiteral("Do not read the modules back."));
    const QCommandLineOption rework(
        QStringLiteral("rework"),
        QStringLiteral("Write modules programmed on this line before again, keeping their MAC."));
    const QCommandLineOption ackTimeout(
        QStringLiteral("ack-timeout"),
        QStringLiteral("How long to wait for a module's acknowledgement once the frame has left "
                       "(default 1000)."),
        QStringLiteral("MS"));
    const QCommandLineOption simulate(
        QStringLiteral("simulate"),
        QStringLiteral("Plug N simulated modules in (and again every few seconds) instead of "
                       "watching udev."),
        QStringLiteral("N"));
    parser.addOptions({config, store, station, macStart, noVerify, rework, ackTimeout});
    if (LineSimulationAvailable()) {
        parser.addOption(simulate);
    }
    parser.process(application);
    return {parser.value(config),
            parser.value(store),
            parser.value(station),
            parser.value(macStart),
            parser.isSet(noVerify),
            parser.isSet(rework),
            parser.isSet(ackTimeout) ? parser.value(ackTimeout).toInt() : 1000,
            parser.value(simulate).toInt()};
}

// Help and the version need no window: they are printed without a display.
bool AsksForTextOnly(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        for (const char* option : {"-h", "--help", "--help-all", "-?", "-v", "--version"}) {
            if (std::strcmp(argv[i], option) == 0) {
                return true;
            }
        }
    }
    return false;
}

void Name() {
    QCoreApplication::setApplicationName(QStringLiteral("lvcfg-station"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LVCFG_VERSION));
}

QString NoArrivalsText(UdevSetupOutcome outcome) {
    return outcome == UdevSetupOutcome::NoDaemon
               ? QStringLiteral("udev is not running here")
               : QStringLiteral("udev refused to watch the adapters");
}

}  // namespace

int main(int argc, char** argv) {
    if (AsksForTextOnly(argc, argv)) {
        QCoreApplication text(argc, argv);
        Name();
        (void)ParseOptions(text);  // prints and ends the program
        return 0;
    }
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    Name();
    const Options options = ParseOptions(application);

    QString notice;
    QString noStore;
    StoreResult<std::unique_ptr<StationStore>> store =
        OpenStationStore(ResolveStationDbUrl(options.store.toStdString()));
    if (!store.Ok()) {
        noStore = QString::fromStdString(store.message);
    }
    std::unique_ptr<DeviceEventSource> arrivals;
    InjectedDeviceSource* injected = nullptr;
    QString noArrivals;
    if (options.simulate <= 0) {
        UdevDeviceSource::Setup udev = UdevDeviceSource::Create();
        if (udev.outcome == UdevSetupOutcome::Ready) {
            arrivals = std::move(udev.source);
        } else {
            noArrivals = NoArrivalsText(udev.outcome);
        }
    }
    if (!arrivals) {
        auto source = std::make_unique<InjectedDeviceSource>();
        injected = source.get();
        arrivals = std::move(source);
    }
    StationController controller(std::move(arrivals), store.Ok() ? std::move(store.value) : nullptr,
                                 PortInventory());
    if (!noStore.isEmpty()) {
        controller.NoteStoreMissing(noStore);
    }
    if (!noArrivals.isEmpty()) {
        controller.NoteArrivalsUnseen(noArrivals);
    }
    StationWindow window(controller);
    SetupStrip& strip = window.Strip();
    if (!options.config.isEmpty()) {
        (void)strip.LoadConfig(options.config);
    }
    strip.SetStationName(options.station);
    strip.SetVerify(!options.noVerify);
    strip.SetRework(options.rework);
    strip.SetAckTimeout(options.ackTimeoutMs);
    if (!options.macStart.isEmpty()) {
        strip.SetStartMac(options.macStart);
        strip.UsePool(false);
    }
    controller.ListPresentSlots();
    std::unique_ptr<QObject> line;
    if (options.simulate > 0 && injected != nullptr) {
        line = StartLineSimulation(static_cast<std::size_t>(options.simulate), *injected);
        if (!line) {
            notice = QStringLiteral("The simulated modules could not start.");
        }
    }
    if (!notice.isEmpty()) {
        strip.ShowMessage(notice.trimmed());
    }
    // A comfortable size, never larger than the screen (a station's may be 1024x768).
    window.resize(QSize(1280, 860).boundedTo(window.screen()->availableGeometry().size()));
    window.show();
    return QApplication::exec();
}
