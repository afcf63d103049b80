#include "ui/station/station_run.h"

#include <QMetaObject>
#include <utility>

#include "store/iso_time.h"
#include "ui/station/station_controller.h"

namespace {

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

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// What the tile shows of an attempt that ended, in the outcome table's words.
SlotUpdate UpdateOfEnd(const std::string& port, const AttemptResult& result) {
    SlotUpdate update;
    update.device = Text(port);
    update.state = OutcomeOf(result.outcome).tile;
    update.reason = QString::fromUtf8(ModuleOutcomeReason(result.outcome));
    update.statusText = QString::fromUtf8(ModuleOutcomeMessage(result.outcome));
    if (result.outcome == ModuleOutcome::AlreadyProgrammed) {
        const ProgrammedMac& before = *result.decision.programmed;
        update.mac = Text(FormatMacAddress(MacOfFrame(result.moduleFrame)));
        update.statusText = QStringLiteral("programmed by station %1 at %2")
                                .arg(Text(before.station), Text(FormatIsoUtc(before.when)));
        return update;
    }
    if (result.frameSent) {
        update.mac = Text(FormatMacAddress(MacOfFrame(result.sent)));
    }
    if (result.outcome == ModuleOutcome::Succeeded && result.acknowledgementLost) {
        update.statusText = QStringLiteral("acknowledgement lost; the module read back the frame");
    } else if (!result.decision.take.grant && !result.decision.take.message.empty()) {
        update.statusText += QStringLiteral(": ") + Text(result.decision.take.message);
    }
    return update;
}

}  // namespace

std::unique_ptr<StationRun> StationRun::Start(StationController& controller, StationStore& store,
                                              RunSetup setup, bool fromPool, QString& refusal) {
    std::unique_ptr<StationRun> run(new StationRun(controller, store, fromPool));
    QuarantineReport quarantine;
    StoreResult<std::unique_ptr<ProductionRun>> opened = ProductionRun::Open(
        store, std::move(setup),
        [raw = run.get()](const RunEvent& event) { raw->OnRunEvent(event); }, &quarantine);
    if (!opened.Ok()) {
        refusal = Text(opened.message) + QStringLiteral(". Nothing was written.");
        return nullptr;
    }
    run->m_run = std::move(opened.value);
    if (!quarantine.quarantined.empty()) {
        emit controller.notice(
            QStringLiteral("%1 MAC(s) left unfinished by an earlier run are quarantined, the "
                           "first %2; release them with 'lvcfg-cli pool release' once checked.")
                .arg(quarantine.quarantined.size())
                .arg(Text(FormatMacAddress(MacFromNumber(quarantine.quarantined.front())))));
    }
    if (!quarantine.otherHosts.empty()) {
        const ForeignReservation& held = quarantine.otherHosts.front();
        emit controller.notice(
            QStringLiteral("%1 MAC(s) of this station are held on host %2 "
                           "(the first %3); they are left alone.")
                .arg(quarantine.otherHosts.size())
                .arg(Text(held.host), Text(FormatMacAddress(MacFromNumber(held.mac)))));
    }
    return run;
}

StationRun::StationRun(StationController& controller, StationStore& store, bool fromPool)
    : m_controller(controller), m_store(store), m_fromPool(fromPool) {}

void StationRun::OnRunEvent(const RunEvent& event) {
    switch (event.kind) {
        case RunEventKind::Started:
        case RunEventKind::Stage:
            Post({Text(event.port), StateOfStage(event.stage), {}, {}, {}});
            return;
        case RunEventKind::Ended:
            Ended(event);
            return;
        case RunEventKind::OrderComplete: {
            // Every station of the order stops taking modules; those in flight finish.
            StationController* controller = &m_controller;
            const QString order = Text(m_run ? m_run->Setup().order : std::string());
            QMetaObject::invokeMethod(
                controller,
                [controller, order] {
                    emit controller->orderComplete(order);
                    controller->Stop();
                },
                Qt::QueuedConnection);
            return;
        }
    }
}

// On the programming thread: what the window shows of the ended attempt goes to its thread,
// with the pool's free count and the start MAC the next module gets.
void StationRun::Ended(const RunEvent& event) {
    const SlotUpdate update = UpdateOfEnd(event.port, *event.result);
    const bool kept = event.kept->Ok();
    const ProductionRecord record = *event.record;
    const std::string failure = event.kept->message;
    std::optional<std::uint64_t> free;
    if (m_fromPool) {
        const StoreResult<PoolStatus> status = m_store.Status();
        if (status.Ok()) {
            free = status.value.free;
        }
    }
    const std::optional<MacAddress> next = m_run ? m_run->Summary().nextMac : std::nullopt;
    const std::optional<StoreStatus> stopped = m_run ? m_run->Stopped() : std::nullopt;
    StationController* controller = &m_controller;
    QMetaObject::invokeMethod(
        controller,
        [controller, update, record, kept, failure, free, next, stopped, fromPool = m_fromPool] {
            emit controller->slotChanged(update);
            if (kept) {
                emit controller->recordKept(record);
            } else {
                emit controller->notice(
                    QStringLiteral("The record of %1 was not kept, and the station stopped "
                                   "taking modules: %2")
                        .arg(update.device, Text(failure)));
            }
            if (stopped) {
                controller->NoteStoreFailed(Text(stopped->message));
            }
            if (fromPool) {
                controller->ShowPoolFree(free);
            }
            if (next) {
                emit controller->nextStartMac(Text(FormatMacAddress(*next)));
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
