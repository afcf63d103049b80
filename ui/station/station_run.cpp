#include "ui/station/station_run.h"

#include <QMetaObject>
#include <utility>

#include "station/module_outcome.h"
#include "ui/station/station_controller.h"

namespace {

constexpr const char* kNoMacText = "No MAC left in the pool: the module was not touched";
constexpr const char* kVerifyFailedText = "The module read back differs from the block written";

SlotState StateOfStage(ProgramStage stage) {
    switch (stage) {
        case ProgramStage::Reading:
            return SlotState::Reading;
        case ProgramStage::Writing:
            return SlotState::Writing;
        case ProgramStage::Verifying:
            return SlotState::Verifying;
    }
    return SlotState::Reading;
}

}  // namespace

StationRun::StationRun(StationController& controller, const StationSetup& setup,
                       std::unique_ptr<MacSource> macs, PoolMacSource* pool, StationStore* store)
    : m_controller(controller),
      m_setup(setup),
      m_macs(std::move(macs)),
      m_pool(pool),
      m_store(store),
      m_batch(*setup.settings, setup.verify, *m_macs, m_fixedPorts,
              [this](const BatchEvent& event) { OnBatchEvent(event); }) {}

void StationRun::Program(const std::string& device, const std::string& byPath) {
    {
        const std::lock_guard lock(m_attemptsMutex);
        m_byPath[device] = byPath;
    }
    (void)m_batch.Start(device, PortBatch::WhenBusy::Queue);
}

void StationRun::OnBatchEvent(const BatchEvent& event) {
    SlotUpdate update;
    update.device = QString::fromStdString(event.port);
    if (event.mac) {
        update.mac = QString::fromStdString(FormatMacAddress(*event.mac));
    }
    switch (event.kind) {
        case BatchEventKind::Started: {
            update.state = SlotState::Reading;
            const std::lock_guard lock(m_attemptsMutex);
            ModuleAttempt& attempt = m_attempts[event.port];
            attempt = ModuleAttempt{m_setup.stationName, event.port,       m_byPath[event.port],
                                    m_setup.configPath,  RecordClockNow(), 0,
                                    *event.mac,          m_setup.verify};
            break;
        }
        case BatchEventKind::Stage:
            update.state = StateOfStage(event.stage);
            break;
        case BatchEventKind::NoMacLeft: {
            update.state = SlotState::Failed;
            // The pool ran out, or the store failed and the source stopped handing out MACs.
            const std::optional<StoreStatus> stopped = m_pool ? m_pool->Stopped() : std::nullopt;
            const bool storeFailed = stopped && stopped->outcome != StoreOutcome::PoolEmpty;
            update.statusText = storeFailed ? QString::fromStdString(stopped->message)
                                            : QString::fromUtf8(kNoMacText);
            update.reason = storeFailed ? QStringLiteral("store_failed") : QStringLiteral("no_mac");
            break;
        }
        case BatchEventKind::Finished:
            update = Finish(event);
            break;
    }
    Post(std::move(update));
}

SlotUpdate StationRun::Finish(const BatchEvent& event) {
    const ModuleJobResult& result = *event.result;
    SlotUpdate update;
    update.device = QString::fromStdString(event.port);
    update.mac = QString::fromStdString(FormatMacAddress(*event.mac));
    if (result.outcome == ModuleOutcome::Succeeded) {
        update.state = SlotState::Done;
    } else {
        update.state = SlotState::Failed;
        const char* text = ModuleOutcomeText(result.outcome);
        update.statusText = QString::fromUtf8(*text != '\0' ? text : kVerifyFailedText);
        update.reason = QString::fromUtf8(ModuleOutcomeReason(result.outcome));
    }
    ModuleAttempt attempt;
    {
        const std::lock_guard lock(m_attemptsMutex);
        attempt = m_attempts[event.port];
    }
    attempt.timeEnd = RecordClockNow();
    Keep(RecordOfJob(attempt, result), *event.mac, result.outcome == ModuleOutcome::Succeeded);
    return update;
}

// On the programming thread: the record goes to the store (closing the MAC's hold), then to
// the window with the pool's new free count.
void StationRun::Keep(const ProductionRecord& record, const MacAddress& mac, bool succeeded) {
    StoreStatus keeping;
    if (m_pool != nullptr) {
        keeping = m_pool->Settle(mac, succeeded, record);
    } else if (m_store != nullptr) {
        keeping = m_store->AddRecord(record);
    }
    const bool kept = keeping.Ok();
    const std::string failure = keeping.message;
    std::optional<std::uint64_t> free;
    if (m_pool != nullptr) {
        const StoreResult<PoolStatus> status = m_store->Status();
        if (status.Ok()) {
            free = status.value.free;
        }
    }
    StationController* controller = &m_controller;
    QMetaObject::invokeMethod(
        controller,
        [controller, record, kept, failure, free] {
            if (kept) {
                emit controller->recordKept(record);
            } else {
                emit controller->notice(QStringLiteral("The record of %1 was not kept: %2")
                                            .arg(QString::fromStdString(record.macWritten),
                                                 QString::fromStdString(failure)));
            }
            if (free) {
                emit controller->poolFreeChanged(*free);
            }
        },
        Qt::QueuedConnection);
}

void StationRun::Post(SlotUpdate update) {
    StationController* controller = &m_controller;
    QMetaObject::invokeMethod(
        controller, [controller, update] { emit controller->slotChanged(update); },
        Qt::QueuedConnection);
}
