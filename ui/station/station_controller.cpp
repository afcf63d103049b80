#include "ui/station/station_controller.h"

#include <QSocketNotifier>
#include <QSysInfo>
#include <algorithm>
#include <utility>

#include "station/module_record.h"
#include "station/pool_mac_source.h"
#include "station/windowless_program.h"
#include "ui/station/station_run.h"

namespace {

// While a stopped run finishes its modules, how often the controller looks whether it has.
constexpr int kFinishCheckMs = 100;
// The table and the chart show the last day; older records stay in the store.
constexpr std::int64_t kRecordsShownMs = 24LL * 60 * 60 * 1000;

QString PoolEmptyText() {
    return QStringLiteral(
        "The MAC pool of the station database has no free MAC: add MACs with 'lvcfg-cli pool "
        "add' before starting. Nothing was written.");
}

}  // namespace

StationController::StationController(std::unique_ptr<DeviceEventSource> arrivals,
                                     std::unique_ptr<StationStore> store, PortInventory inventory,
                                     QObject* parent)
    : QObject(parent),
      m_store(store ? std::make_unique<SerializedStationStore>(std::move(store)) : nullptr),
      m_inventory(std::move(inventory)),
      m_watcher(std::move(arrivals), m_announced) {
    m_arrivalNotifier = new QSocketNotifier(m_watcher.Descriptor(), QSocketNotifier::Read, this);
    connect(m_arrivalNotifier, &QSocketNotifier::activated, this,
            &StationController::OnArrivalReadable);
    m_finishCheck.setInterval(kFinishCheckMs);
    connect(&m_finishCheck, &QTimer::timeout, this, &StationController::EndFinishedRun);
}

StationController::~StationController() {
    m_accepting = false;
    m_run.reset();  // waits for the modules being programmed
}

void StationController::ListPresentSlots() {
    for (const PortDescription& port : m_inventory.List()) {
        if (!port.byPathPaths.empty()) {
            emit slotAppeared(
                {QString::fromStdString(port.devicePath), ByPathName(port.devicePath)});
        }
    }
}

QString StationController::ByPathName(const std::string& device) const {
    const std::optional<PortDescription> port = m_inventory.Describe(device);
    if (!port || port->byPathPaths.empty()) {
        return {};
    }
    const std::string& link = port->byPathPaths.front();
    return QString::fromStdString(link.substr(link.find_last_of('/') + 1));
}

void StationController::OnArrivalReadable() {
    const std::optional<DeviceEvent> event = m_watcher.OnReadable();
    if (!event || event->devicePath.empty()) {
        return;
    }
    const QString device = QString::fromStdString(event->devicePath);
    if (event->kind == DeviceEventKind::Removal) {
        if (m_run) {
            m_run->Forget(event->devicePath);
        }
        emit slotGone(device);
        return;
    }
    const QString byPath = ByPathName(event->devicePath);
    emit slotAppeared({device, byPath});
    if (m_accepting) {
        emit slotChanged({device, SlotState::Reading, {}, {}, {}});
        m_run->Program(event->devicePath, byPath.toStdString());
    }
}

QString StationController::Start(const StationSetup& given) {
    StationSetup setup = given;
    if (setup.stationName.empty()) {
        // Reservations and records always name a station; the command line's default too.
        setup.stationName = QSysInfo::machineHostName().toStdString();
    }
    if (m_accepting) {
        return QStringLiteral("The station is running already.");
    }
    if (m_run) {
        return QStringLiteral(
            "The last run is still finishing its modules; start again when "
            "every slot has ended.");
    }
    if (!setup.settings) {
        return QStringLiteral("Choose a .cfg file to program before starting.");
    }
    std::unique_ptr<MacSource> macs;
    PoolMacSource* pool = nullptr;
    if (setup.macsFromPool) {
        if (!m_store) {
            return QStringLiteral(
                "There is no station database, so there is no MAC pool: give a "
                "start MAC instead.");
        }
        const std::optional<std::uint64_t> free = PoolFree();
        if (!free) {
            return QStringLiteral("The station database cannot be read; nothing was written.");
        }
        if (*free == 0) {
            return PoolEmptyText();
        }
        QuarantineUnfinished(setup.stationName);
        // A module plugged in again that already holds a verified MAC of the pool keeps it.
        auto currentMac = [this](const std::string& port) -> std::optional<MacAddress> {
            const ModuleReadResult read = ReadModuleWindowless(port, m_jobPorts);
            if (read.outcome != ModuleOutcome::Succeeded) {
                return std::nullopt;
            }
            return MacOfFrame(read.frame);
        };
        auto poolSource = std::make_unique<PoolMacSource>(*m_store, setup.stationName, currentMac);
        pool = poolSource.get();
        macs = std::move(poolSource);
    } else {
        if (!setup.startMac) {
            return QStringLiteral(
                "Give the first MAC as six pairs of hex digits with colons "
                "(4C:56:00:00:00:01).");
        }
        macs = std::make_unique<MacSequence>(*setup.startMac);
    }
    m_run = std::make_unique<StationRun>(*this, setup, std::move(macs), pool, m_store.get());
    m_accepting = true;
    emit runningChanged(true);
    return {};
}

void StationController::Stop() {
    if (!m_accepting) {
        return;
    }
    m_accepting = false;
    emit runningChanged(false);
    EndFinishedRun();
    if (m_run) {
        m_finishCheck.start();
    }
}

bool StationController::Finishing() const {
    return !m_accepting && m_run != nullptr;
}

void StationController::EndFinishedRun() {
    if (m_run && !m_accepting && m_run->Idle()) {
        m_run.reset();
        m_finishCheck.stop();
    }
}

// MACs this station reserved in a run that ended before its modules did (a crash, a power
// cut) may sit in a module: they are set aside for a person to look at, never handed out.
void StationController::QuarantineUnfinished(const std::string& station) {
    const StoreResult<QuarantineReport> report = m_store->QuarantineUnfinished(station);
    const StoreResult<std::vector<MacNumber>> quarantined =
        report.Ok()
            ? StoreResult<std::vector<MacNumber>>(report.value.quarantined)
            : StoreResult<std::vector<MacNumber>>(StoreStatus{report.outcome, report.message});
    if (!quarantined.Ok()) {
        emit notice(QString::fromStdString("Unfinished reservations cannot be looked for: " +
                                           quarantined.message));
    } else if (!quarantined.value.empty()) {
        emit notice(QStringLiteral("%1 MAC(s) left unfinished by an earlier run are quarantined, "
                                   "the first %2; release them with 'lvcfg-cli pool release'.")
                        .arg(quarantined.value.size())
                        .arg(QString::fromStdString(
                            FormatMacAddress(MacFromNumber(quarantined.value.front())))));
    }
}

std::optional<std::uint64_t> StationController::PoolFree() {
    if (!m_store) {
        return std::nullopt;
    }
    const StoreResult<PoolStatus> status = m_store->Status();
    if (!status.Ok()) {
        return std::nullopt;
    }
    return status.value.free;
}

std::vector<ProductionRecord> StationController::LatestRecords(std::size_t count) {
    if (!m_store) {
        return {};
    }
    const std::int64_t since = RecordClockNow() - kRecordsShownMs;
    StoreResult<std::vector<ProductionRecord>> records = m_store->Records(since);
    if (!records.Ok()) {
        emit notice(QString::fromStdString("The records cannot be read: " + records.message));
        return {};
    }
    std::vector<ProductionRecord>& all = records.value;
    if (all.size() > count) {
        all.erase(all.begin(), all.end() - static_cast<std::ptrdiff_t>(count));
    }
    return std::move(all);
}
