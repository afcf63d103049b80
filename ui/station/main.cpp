// lvcfg-station: the production window of a programming station.
#include <QApplication>
#include <QCommandLineParser>
#include <QSysInfo>
#include <QTextStream>
#include <clocale>
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

Options ParseOptions(QApplication& application) {
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

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QStringLiteral("lvcfg-station"));
    QApplication::setApplicationVersion(QStringLiteral(LVCFG_VERSION));
    const Options options = ParseOptions(application);

    QString notice;
    StoreResult<std::unique_ptr<StationStore>> store =
        OpenStationStore(ResolveStationDbUrl(options.store.toStdString()));
    if (!store.Ok()) {
        notice = QStringLiteral("No station database (") + QString::fromStdString(store.message) +
                 QStringLiteral("): the station cannot start.");
    }
    std::unique_ptr<DeviceEventSource> arrivals;
    InjectedDeviceSource* injected = nullptr;
    if (options.simulate <= 0) {
        UdevDeviceSource::Setup udev = UdevDeviceSource::Create();
        if (udev.outcome == UdevSetupOutcome::Ready) {
            arrivals = std::move(udev.source);
        } else {
            notice += QStringLiteral(" Adapters cannot be watched here (") +
                      QString::fromUtf8(UdevSetupOutcomeName(udev.outcome)) + QStringLiteral(").");
        }
    }
    if (!arrivals) {
        auto source = std::make_unique<InjectedDeviceSource>();
        injected = source.get();
        arrivals = std::move(source);
    }
    StationController controller(std::move(arrivals), store.Ok() ? std::move(store.value) : nullptr,
                                 PortInventory());
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
            notice += QStringLiteral(" The simulated modules could not start.");
        }
    }
    if (!notice.isEmpty()) {
        strip.ShowMessage(notice.trimmed());
    }
    window.resize(1280, 860);
    window.show();
    return QApplication::exec();
}
