#include "ui/station/station_controller.h"

#include <QMetaObject>
#include <QSocketNotifier>
#include <algorithm>
#include <utility>

#include "store/iso_time.h"
#include "ui/station/station_run.h"

namespace {

// While a stopped run finishes its modules, how often the controller looks whether it has.
constexpr int kFinishCheckMs = 100;
// How often the pool's free count is read again: MACs added by another program show soon.
constexpr int kPoolCheckMs = 2000;
// The table and the chart show the last day; older records stay in the store.
constexpr std::int64_t kRecordsShownMs = 24LL * 60 * 60 * 1000;

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
    if (m_store) {
        m_conditions.storeAt = StoreLocation();
        m_conditions.poolFree = PoolFree();
        m_poolWatch = std::make_unique<PoolWatch>(
            *m_store, std::chrono::milliseconds(kPoolCheckMs),
            [this](std::optional<std::uint64_t> free) {
                QMetaObject::invokeMethod(
                    this, [this, free] { ShowPoolFree(free); }, Qt::QueuedConnection);
            });
    } else {
        m_conditions.noStore = QStringLiteral("none was given");
    }
}

StationController::~StationController() {
    m_poolWatch.reset();  // tells nothing more
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
        m_run->Program(event->devicePath);
    }
}

QString StationController::StoreLocation() const {
    return m_store ? QString::fromStdString(m_store->Location()) : QString();
}

std::vector<OrderRow> StationController::Orders() {
    if (!m_store) {
        return {};
    }
    StoreResult<std::vector<OrderRow>> orders = m_store->Orders();
    return orders.Ok() ? std::move(orders.value) : std::vector<OrderRow>{};
}

QString StationController::Start(const StationSetup& setup) {
    if (m_accepting) {
        return QStringLiteral("The station is running already.");
    }
    if (m_run) {
        return QStringLiteral(
            "The last run is still finishing its modules; start again when "
            "every slot has ended.");
    }
    if (!m_store) {
        return QStringLiteral(
            "There is no station database, and the station keeps every module's record: "
            "give one with --station-db or LVCFG_STATION_DB. Nothing was written.");
    }
    if (!setup.settings && setup.order.empty()) {
        return QStringLiteral("Choose a .cfg file or a work order to program before starting.");
    }
    if (!setup.order.empty() && !setup.macsFromPool) {
        return QStringLiteral("A work order takes its MACs from the pool: choose the pool.");
    }
    RunSetup run;
    run.attempt = {setup.settings.value_or(ConfigSettings{}), setup.verify, setup.ackTimeout};
    run.configFile = setup.configPath;
    run.station = setup.stationName;
    run.rework = setup.rework;
    run.order = setup.order;  // its block replaces the file's settings
    run.keepsStationRow = true;
    run.program = "lvcfg-station";
    run.version = LVCFG_VERSION;
    if (!setup.macsFromPool) {
        if (!setup.startMac) {
            return QStringLiteral(
                "Give the first MAC as six pairs of hex digits with colons "
                "(4C:56:00:00:00:01).");
        }
        run.macs = {MacPlan::From::StartMac, *setup.startMac};
    }
    QString refusal;
    m_run = StationRun::Start(*this, *m_store, std::move(run), setup.macsFromPool, refusal);
    if (!m_run) {
        return refusal;
    }
    ChangeConditions([&](StationConditions& c) {
        c.storeFailed.clear();
        c.macsFromPool = setup.macsFromPool;
    });
    RefreshPoolFree();
    m_accepting = true;
    emit runningChanged(true);
    return {};
}

void StationController::Stop() {
    if (!m_accepting) {
        return;
    }
    m_accepting = false;
    if (m_run) {
        m_run->BeginStop();
    }
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

std::size_t StationController::InFlight() const {
    return m_run ? m_run->InFlight() : 0;
}

void StationController::ChangeConditions(const std::function<void(StationConditions&)>& change) {
    StationConditions changed = m_conditions;
    change(changed);
    if (!(changed == m_conditions)) {
        m_conditions = changed;
        emit conditionsChanged(m_conditions);
    }
}

void StationController::NoteStoreMissing(const QString& why) {
    ChangeConditions([&](StationConditions& c) { c.noStore = why; });
}

void StationController::NoteArrivalsUnseen(const QString& why) {
    ChangeConditions([&](StationConditions& c) { c.noArrivals = why; });
}

void StationController::SetMacsFromPool(bool fromPool) {
    if (!m_accepting) {
        ChangeConditions([&](StationConditions& c) { c.macsFromPool = fromPool; });
    }
}

void StationController::NoteStoreFailed(const QString& why) {
    ChangeConditions([&](StationConditions& c) { c.storeFailed = why; });
}

void StationController::RefreshPoolFree() {
    if (m_poolWatch) {
        m_poolWatch->ReadNow();
    }
}

void StationController::ShowPoolFree(std::optional<std::uint64_t> free) {
    if (free) {
        emit poolFreeChanged(*free);
    }
    ChangeConditions([&](StationConditions& c) { c.poolFree = free; });
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
    const std::int64_t since = StoreClockNow() - kRecordsShownMs;
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
