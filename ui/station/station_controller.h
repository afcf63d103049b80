#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "link/announced_ports.h"
#include "link/arrival/arrival_watcher.h"
#include "link/port_inventory.h"
#include "station/serialized_station_store.h"
#include "store/production_record.h"
#include "ui/station/pool_watch.h"
#include "ui/station/slot_state.h"
#include "ui/station/station_conditions.h"
#include "ui/station/station_setup.h"

class QSocketNotifier;
class StationRun;

// The station's work behind the window: the slots from the arrival watcher, a run of the port
// batch over the modules plugged in, the MAC source and the production record. Programming and
// the store's work happen on the batch's threads; what the window shows reaches it as signals
// on the window's thread, so the window only updates its widgets.
class StationController : public QObject {
    Q_OBJECT

  public:
    // Without a store the station cannot start: it keeps every module's record. `inventory`
    // names the ports (their by-path names) and lists those present at start.
    StationController(std::unique_ptr<DeviceEventSource> arrivals,
                      std::unique_ptr<StationStore> store, PortInventory inventory,
                      QObject* parent = nullptr);
    ~StationController() override;

    // Announces a slot for each USB serial port present now.
    void ListPresentSlots();

    // Starts a run: every module plugged in from now on is programmed. An empty text when the
    // run started; otherwise why not, and nothing is written.
    [[nodiscard]] QString Start(const StationSetup& setup);
    // No module is started any more; modules being programmed finish.
    void Stop();
    [[nodiscard]] bool Running() const { return m_accepting; }
    // A run stopped but still finishing its modules.
    [[nodiscard]] bool Finishing() const;

    // Modules being programmed now.
    [[nodiscard]] std::size_t InFlight() const;

    // Why there is no station database (it did not open), and why plugged-in adapters cannot
    // be seen (no udev): both last for the whole run of the program.
    void NoteStoreMissing(const QString& why);
    void NoteArrivalsUnseen(const QString& why);
    // The MAC source chosen for the next run, while none runs.
    void SetMacsFromPool(bool fromPool);
    // The database failed during the run (the run takes no module any more).
    void NoteStoreFailed(const QString& why);
    [[nodiscard]] const StationConditions& Conditions() const { return m_conditions; }
    // Has the pool's free count read again soon and told (the controller does so every few
    // seconds anyway, so MACs added from elsewhere show while the window runs).
    void RefreshPoolFree();
    // Tells a free count read elsewhere (nothing: it could not be read).
    void ShowPoolFree(std::optional<std::uint64_t> free);

    [[nodiscard]] bool HasStore() const { return m_store != nullptr; }
    // Where the store lives, as people may see it; empty without a store.
    [[nodiscard]] QString StoreLocation() const;
    // The pool's free MACs; nothing without a store or when the store failed.
    [[nodiscard]] std::optional<std::uint64_t> PoolFree();
    // The store's work orders; none without a store or when the store failed.
    [[nodiscard]] std::vector<OrderRow> Orders();
    // The latest `count` records of the last day, oldest first.
    [[nodiscard]] std::vector<ProductionRecord> LatestRecords(std::size_t count);

  signals:
    void slotAppeared(const SlotName& slot);
    void slotGone(const QString& device);
    void slotChanged(const SlotUpdate& update);
    void recordKept(const ProductionRecord& record);
    void poolFreeChanged(qulonglong free);
    // With a start MAC: the MAC the next module gets, once a MAC was sent.
    void nextStartMac(const QString& mac);
    void runningChanged(bool running);
    // What keeps the line from going on changed.
    void conditionsChanged(const StationConditions& conditions);
    // The run's work order has all its modules: the station stopped taking modules.
    void orderComplete(const QString& order);
    // Something a person should know that is no slot's state (a store failure, no udev).
    void notice(const QString& text);

  private:
    void OnArrivalReadable();
    void EndFinishedRun();
    [[nodiscard]] QString ByPathName(const std::string& device) const;
    void ChangeConditions(const std::function<void(StationConditions&)>& change);

    std::unique_ptr<SerializedStationStore> m_store;  // shared with the batch's threads
    PortInventory m_inventory;
    AnnouncedPorts m_announced;  // the run is handed device paths, never COMn
    ArrivalWatcher m_watcher;
    QSocketNotifier* m_arrivalNotifier = nullptr;
    std::unique_ptr<StationRun> m_run;
    bool m_accepting = false;
    QTimer m_finishCheck;
    std::unique_ptr<PoolWatch> m_poolWatch;  // with a store; reads it off the window's thread
    StationConditions m_conditions;
};
