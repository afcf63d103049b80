#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "station/grouped_store_work.h"
#include "station/mac_source.h"
#include "station/module_attempt.h"
#include "station/port_batch.h"
#include "station/run_event.h"
#include "station/station_heartbeat.h"
#include "store/station_store.h"

class SequenceMacSource;

// Where a run's MACs come from.
struct MacPlan {
    enum class From {
        Pool,        // the store's pool
        StartMac,    // `mac`, then on by one with every MAC sent
        GivenMac,    // `mac` for the one module of a write
        ModulesOwn,  // each module keeps the MAC it holds
    };
    From from = From::Pool;
    MacAddress mac{};
};

struct RunSetup {
    AttemptSetup attempt;
    std::string configFile;
    std::string station;  // empty: the host name
    MacPlan macs;
    // A module programmed on this line before (its MAC verified in the pool or named by an "ok"
    // record) is left alone, unless `rework` (written again keeping its MAC) or
    // `writeProgrammed` (a person's write of one module; its own plan decides the MAC). Either
    // is recorded as rework.
    bool rework = false;
    bool writeProgrammed = false;
    // The work order the run programs: its block, from the store, replaces `attempt.settings`
    // and `configFile`, its MACs come from the pool under its count, and the run stops taking
    // modules once the order is complete. Empty: no order.
    std::string order;
    // A production program keeps its row in the store while it runs (see StationHeartbeat),
    // under this program name and version; a person's write of one module keeps none.
    bool keepsStationRow = false;
    std::string program;
    std::string version;
};

// What a run did, for its closing summary.
struct RunSummary {
    int programmed = 0;
    int alreadyProgrammed = 0;
    int failed = 0;
    int notNeeded = 0;           // left alone because the order was complete or had all in flight
    bool orderComplete = false;  // the order reached its quantity (or was closed)
    std::optional<MacAddress> nextMac;    // with a start MAC: the one the next module would get,
                                          // nothing where the sequence has run into the pool
    std::vector<MacAddress> unusedMacs;   // with a start MAC: taken but never sent
    std::vector<MacAddress> suspectMacs;  // with a start MAC: skipped, a module may hold them
};

// One production run, the rules both production programs (lvcfg-cli batch and write, and
// lvcfg-station) follow; they start it and render its events. Each module plugged into a port
// is read once, recognised when this line programmed it before, given a MAC that the store
// holds for it before it is written, written with the frame's wait for "ATOK" counted from the
// end of sending, verified, and settled by what it was found to hold: a MAC that may sit in a
// module never goes back into circulation on a guess. Every attempt is recorded. A failure of
// the store stops the run before the next module.
//
// Events reach the listener from the programming threads, several at a time: a listener keeps
// its own state safe (64 modules do not queue behind one another's output).
class ProductionRun {
  public:
    using Listener = std::function<void(const RunEvent&)>;

    // Starts a run on `store`, which must be safe for many threads (a SerializedStationStore)
    // and outlive the run. Quarantines what this station left unfinished on this host (pool)
    // into `quarantine`, and checks a start or given MAC. Refused with the store's outcome:
    // MacInPool or MacTaken for a MAC that may not be used, anything else for a failed store.
    [[nodiscard]] static StoreResult<std::unique_ptr<ProductionRun>> Open(
        StationStore& store, RunSetup setup, Listener listener,
        QuarantineReport* quarantine = nullptr);
    ~ProductionRun();
    ProductionRun(const ProductionRun&) = delete;
    ProductionRun& operator=(const ProductionRun&) = delete;

    // Programs the module on `port` (see PortBatch::Start).
    bool Program(const std::string& port,
                 PortBatch::WhenBusy whenBusy = PortBatch::WhenBusy::Refuse);
    void Forget(const std::string& port) { m_batch.Forget(port); }
    [[nodiscard]] bool WaitFor(std::chrono::milliseconds timeout) {
        return m_batch.WaitFor(timeout);
    }
    void Wait() { m_batch.Wait(); }
    [[nodiscard]] std::size_t Running() const { return m_batch.Running(); }

    [[nodiscard]] RunSummary Summary() const;
    // The store's failure that stopped the run; nothing while it goes on.
    [[nodiscard]] std::optional<StoreStatus> Stopped() const;
    [[nodiscard]] const std::string& Station() const { return m_setup.station; }
    [[nodiscard]] const RunSetup& Setup() const { return m_setup; }
    // The run is about to stop (an interrupt, the operator's Stop): its row says so at once.
    void BeginStop();
    // Asks the store whether the run's order was completed (or closed) by any station; the
    // run's heartbeat asks at every refresh. Nothing without an order.
    void LookAtOrder();

  private:
    ProductionRun(StationStore& store, RunSetup setup, std::unique_ptr<MacSource> macs,
                  SequenceMacSource* sequence, Listener listener);

    void Attempt(const std::string& port);
    // What the module gets; `asked` tells whether its MAC source was asked.
    [[nodiscard]] MacDecision Decide(const std::string& port, const ConfigFrame& moduleFrame,
                                     bool& asked);
    [[nodiscard]] StoreStatus Keep(const AttemptResult& result, const ProductionRecord& record);
    void Count(const AttemptResult& result);
    [[nodiscard]] bool MayGoNext(const MacAddress& mac) const;
    void Tell(const RunEvent& event);
    void MarkOrderComplete();
    [[nodiscard]] bool OrderIsComplete() const;
    void StartHeartbeat();
    [[nodiscard]] StationRow RowNow() const;
    void Refreshed(const StoreStatus& kept);

    StationStore& m_store;
    const RunSetup m_setup;
    const std::unique_ptr<MacSource> m_macs;  // null when modules keep their own
    SequenceMacSource* const m_sequence;      // m_macs, for a start MAC
    const Listener m_listener;

    // The ends of attempts that finish together, committed together.
    using Ending = std::function<StoreStatus(StationStore&)>;
    GroupedStoreWork<Ending, StoreStatus> m_endings;

    mutable std::mutex m_mutex;
    std::optional<StoreStatus> m_storeFailure;
    RunSummary m_summary;
    bool m_stopping = false;
    std::string m_lastFailureReason;
    std::int64_t m_lastFailureMs = 0;

    std::unique_ptr<StationHeartbeat> m_heartbeat;  // beside the ports, until the run ends

    PortBatch m_batch;  // last: its threads end before the members above go
};
