#include "station/production_run.h"

#include <utility>

#include "station/module_record.h"
#include "station/order_config.h"
#include "station/outside_pool_macs.h"
#include "station/pool_mac_source.h"
#include "station/port_by_path.h"
#include "station/station_name.h"
#include "store/holder_process.h"
#include "store/iso_time.h"

namespace {

struct OpenedSource {
    std::unique_ptr<MacSource> source;
    SequenceMacSource* sequence = nullptr;
};

StoreResult<OpenedSource> OpenSource(StationStore& store, const RunSetup& setup,
                                     QuarantineReport* quarantine) {
    OpenedSource opened;
    switch (setup.macs.from) {
        case MacPlan::From::Pool: {
            // What this station left unfinished when a run of it died may sit in a module: it
            // is held out for a person before any MAC goes out.
            StoreResult<QuarantineReport> found = store.QuarantineUnfinished(setup.station);
            if (!found.Ok()) {
                return StoreStatus{found.outcome, found.message};
            }
            if (quarantine != nullptr) {
                *quarantine = std::move(found.value);
            }
            opened.source = std::make_unique<PoolMacSource>(store, setup.station, setup.order);
            return opened;
        }
        case MacPlan::From::StartMac: {
            auto sequence = SequenceMacSource::Open(store, setup.station, setup.macs.mac);
            if (!sequence.Ok()) {
                return StoreStatus{sequence.outcome, sequence.message};
            }
            opened.sequence = sequence.value.get();
            opened.source = std::move(sequence.value);
            return opened;
        }
        case MacPlan::From::GivenMac: {
            auto given = GivenMacSource::Open(store, setup.station, setup.macs.mac);
            if (!given.Ok()) {
                return StoreStatus{given.outcome, given.message};
            }
            opened.source = std::move(given.value);
            return opened;
        }
        case MacPlan::From::ModulesOwn:
            break;
    }
    return opened;
}

MacTake KeepOwn(const MacAddress& current) {
    return {MacGrant{current, 0}, ModuleOutcome::Succeeded, {}};
}

// Each ending on the group's transaction; all fail when that transaction does.
std::vector<StoreStatus> EndTogether(
    StationStore& store, const std::vector<std::function<StoreStatus(StationStore&)>>& group) {
    std::vector<StoreStatus> ended(group.size());
    const StoreStatus together = store.Together([&](StationStore& transaction) {
        for (std::size_t i = 0; i < group.size(); ++i) {
            ended[i] = group[i](transaction);
        }
    });
    if (!together.Ok()) {
        std::fill(ended.begin(), ended.end(), together);
    }
    return ended;
}

// Takes the order's block, checked as a file is, in place of the run's settings. Refused for
// an order that takes no modules, and for MACs not from the pool, which the order cannot count.
StoreStatus TakeOrder(StationStore& store, RunSetup& setup) {
    if (setup.macs.from != MacPlan::From::Pool) {
        return StoreFailure(StoreOutcome::OrderInvalid,
                            "an order takes its MACs from the pool, not from a MAC given");
    }
    StoreResult<OrderConfig> config = LoadOrderConfig(store, setup.order);
    if (!config.Ok()) {
        return StoreStatus{config.outcome, config.message};
    }
    if (config.value.order.row.state != OrderState::Open) {
        return StoreFailure(StoreOutcome::OrderNotOpen,
                            "order " + setup.order + " is " +
                                OrderStateName(config.value.order.row.state) +
                                ": no module is programmed for it");
    }
    setup.attempt.settings = SettingsFromFrame(config.value.frame);
    setup.configFile = config.value.order.configFile;
    return {};
}

}  // namespace

StoreResult<std::unique_ptr<ProductionRun>> ProductionRun::Open(StationStore& store, RunSetup setup,
                                                                Listener listener,
                                                                QuarantineReport* quarantine) {
    setup.station = StationNameOr(setup.station);
    if (!setup.order.empty()) {
        if (StoreStatus taken = TakeOrder(store, setup); !taken.Ok()) {
            return taken;
        }
    }
    StoreResult<OpenedSource> opened = OpenSource(store, setup, quarantine);
    if (!opened.Ok()) {
        return StoreStatus{opened.outcome, opened.message};
    }
    return std::unique_ptr<ProductionRun>(
        new ProductionRun(store, std::move(setup), std::move(opened.value.source),
                          opened.value.sequence, std::move(listener)));
}

ProductionRun::ProductionRun(StationStore& store, RunSetup setup, std::unique_ptr<MacSource> macs,
                             SequenceMacSource* sequence, Listener listener)
    : m_store(store),
      m_setup(std::move(setup)),
      m_macs(std::move(macs)),
      m_sequence(sequence),
      m_listener(std::move(listener)),
      m_endings([&store](const std::vector<Ending>& group) { return EndTogether(store, group); }),
      m_batch([this](const std::string& port) { Attempt(port); }) {
    if (m_setup.keepsStationRow) {
        m_heartbeat = std::make_unique<StationHeartbeat>(
            m_store, [this] { return RowNow(); },
            [this](const StoreStatus& kept) { Refreshed(kept); }, [this] { LookAtOrder(); });
    }
}

ProductionRun::~ProductionRun() {
    m_batch.Wait();
    m_heartbeat.reset();  // the row's final state, once no module is in flight
}

void ProductionRun::BeginStop() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    if (m_heartbeat) {
        m_heartbeat->RefreshNow();
    }
}

StationRow ProductionRun::RowNow() const {
    static const std::string host = CurrentHolderProcess().host;
    const std::lock_guard lock(m_mutex);
    StationRow row;
    row.station = m_setup.station;
    row.host = host;
    row.program = m_setup.program;
    row.version = m_setup.version;
    row.order = m_setup.order;
    row.state = m_stopping ? StationState::Stopping : StationState::Running;
    row.done = m_summary.programmed;
    row.failed = m_summary.failed;
    row.lastFailureReason = m_lastFailureReason;
    row.lastFailureMs = m_lastFailureMs;
    return row;
}

// A refresh that fails is a store that fails: the run stops before the next module. An order
// completed by other stations stops this one too.
void ProductionRun::Refreshed(const StoreStatus& kept) {
    if (!kept.Ok()) {
        const std::lock_guard lock(m_mutex);
        m_storeFailure = m_storeFailure.value_or(kept);
        return;
    }
    LookAtOrder();
}

void ProductionRun::LookAtOrder() {
    if (m_setup.order.empty() || OrderIsComplete()) {
        return;
    }
    const StoreResult<OrderDetail> order = m_store.Order(m_setup.order);
    if (order.Ok() && order.value.row.state != OrderState::Open) {
        MarkOrderComplete();
    }
}

bool ProductionRun::OrderIsComplete() const {
    const std::lock_guard lock(m_mutex);
    return m_summary.orderComplete;
}

void ProductionRun::MarkOrderComplete() {
    {
        const std::lock_guard lock(m_mutex);
        if (m_summary.orderComplete) {
            return;
        }
        m_summary.orderComplete = true;
    }
    Tell(RunEvent{
        RunEventKind::OrderComplete, {}, ProgramStage::Reading, nullptr, nullptr, nullptr});
}

bool ProductionRun::Program(const std::string& port, PortBatch::WhenBusy whenBusy) {
    return m_batch.Start(port, whenBusy);
}

std::optional<StoreStatus> ProductionRun::Stopped() const {
    const std::lock_guard lock(m_mutex);
    return m_storeFailure;
}

RunSummary ProductionRun::Summary() const {
    RunSummary summary;
    {
        const std::lock_guard lock(m_mutex);
        summary = m_summary;
    }
    if (m_sequence != nullptr) {
        summary.nextMac = m_sequence->Next();
        summary.unusedMacs = m_sequence->Unused();
        summary.suspectMacs = m_sequence->Suspects();
    }
    if (summary.nextMac && !MayGoNext(*summary.nextMac)) {
        summary.nextMac.reset();  // the sequence ends there: no next module would get it
    }
    return summary;
}

// A start MAC moves on into whatever follows it; the next module gets the MAC only when it
// lies outside the pool and no module was given it before.
bool ProductionRun::MayGoNext(const MacAddress& mac) const {
    const StoreResult<MacState> state = m_store.StateOf(MacToNumber(mac));
    const StoreResult<std::optional<ProgrammedMac>> given =
        m_store.FindProgrammed(MacToNumber(mac));
    return state.Ok() && state.value == MacState::NotInPool && given.Ok() && !given.value;
}

void ProductionRun::Tell(const RunEvent& event) {
    if (m_listener) {
        m_listener(event);
    }
}

void ProductionRun::Attempt(const std::string& port) {
    AttemptContext context{
        m_setup.station,       port, {}, m_setup.configFile, m_setup.order, StoreClockNow(), 0,
        m_setup.attempt.verify};
    Tell(RunEvent{RunEventKind::Started, port, ProgramStage::Reading, nullptr, nullptr, nullptr});
    AttemptResult result;
    if (const std::optional<StoreStatus> failed = Stopped()) {
        // No module is touched without a store that keeps its record.
        result.outcome = ModuleOutcome::StoreFailed;
        result.decision.take.message = failed->message;
        const ProductionRecord none;
        Tell(RunEvent{RunEventKind::Ended, port, ProgramStage::Reading, &result, &none, &*failed});
        Count(result);
        return;
    }
    if (OrderIsComplete()) {
        // The order has its modules: this one is not touched, only recorded as left alone.
        result.outcome = ModuleOutcome::OrderComplete;
    } else {
        if (m_macs) {
            m_macs->Expect();
        }
        bool asked = false;
        result = ProgramAttempt(
            port, m_setup.attempt,
            [this, &port, &asked](const ConfigFrame& frame) { return Decide(port, frame, asked); },
            [this, &port](ProgramStage stage) {
                Tell(RunEvent{RunEventKind::Stage, port, stage, nullptr, nullptr, nullptr});
            });
        if (m_macs && !asked) {
            m_macs->Forgo();
        }
    }
    context.timeEnd = StoreClockNow();
    context.portByPath = PortByPathName(result.port.device.empty() ? port : result.port.device);
    const ProductionRecord record = RecordOfAttempt(context, result);
    const StoreStatus kept = Keep(result, record);
    Count(result);
    Tell(RunEvent{RunEventKind::Ended, port, ProgramStage::Reading, &result, &record, &kept});
}

MacDecision ProductionRun::Decide(const std::string& port, const ConfigFrame& moduleFrame,
                                  bool& asked) {
    MacDecision decision;
    const MacAddress current = MacOfFrame(moduleFrame);
    const StoreResult<std::optional<ProgrammedMac>> programmed =
        m_store.FindProgrammed(MacToNumber(current));
    if (!programmed.Ok()) {
        decision.take = {std::nullopt, ModuleOutcome::StoreFailed, programmed.message};
        const std::lock_guard lock(m_mutex);
        m_storeFailure =
            m_storeFailure.value_or(StoreStatus{programmed.outcome, programmed.message});
        return decision;
    }
    decision.programmed = programmed.value;
    if (decision.programmed) {
        if (!m_setup.rework && !m_setup.writeProgrammed) {
            decision.kind = MacDecision::Kind::AlreadyProgrammed;
            return decision;
        }
        decision.rework = true;
    }
    const bool keepsItsMac = !m_macs || (decision.rework && m_setup.rework);
    asked = !keepsItsMac;
    decision.take = keepsItsMac ? KeepOwn(current) : m_macs->Take(port, current);
    decision.kind = decision.take.grant ? MacDecision::Kind::Write : MacDecision::Kind::NoMac;
    if (decision.take.refusal == ModuleOutcome::OrderComplete) {
        MarkOrderComplete();
    }
    if (decision.take.refusal == ModuleOutcome::StoreFailed) {
        const std::lock_guard lock(m_mutex);
        m_storeFailure = m_storeFailure.value_or(
            ::StoreFailure(StoreOutcome::DatabaseFailed, decision.take.message));
    }
    return decision;
}

StoreStatus ProductionRun::Keep(const AttemptResult& result, const ProductionRecord& record) {
    const std::optional<MacGrant>& grant = result.decision.take.grant;
    MacSource* const macs = grant && grant->holdId != 0 ? m_macs.get() : nullptr;
    StoreStatus kept = m_endings.Done([&](StationStore& store) {
        return macs != nullptr ? macs->Settle(store, *grant, result.macEnd, record, record.note)
                               : store.AddRecord(record);
    });
    if (!kept.Ok()) {
        const std::lock_guard lock(m_mutex);
        m_storeFailure = m_storeFailure.value_or(kept);
    }
    return kept;
}

void ProductionRun::Count(const AttemptResult& result) {
    const std::lock_guard lock(m_mutex);
    if (result.outcome == ModuleOutcome::Succeeded) {
        ++m_summary.programmed;
    } else if (result.outcome == ModuleOutcome::AlreadyProgrammed) {
        ++m_summary.alreadyProgrammed;
    } else if (result.outcome == ModuleOutcome::OrderComplete ||
               result.outcome == ModuleOutcome::OrderFull) {
        ++m_summary.notNeeded;
    } else {
        ++m_summary.failed;
        m_lastFailureReason = ModuleOutcomeReason(result.outcome);
        m_lastFailureMs = StoreClockNow();
    }
}
