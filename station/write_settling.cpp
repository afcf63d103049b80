#include "station/write_settling.h"

#include <thread>

#include "link/module_exchange.h"
#include "station/module_transactions.h"

namespace {

using Clock = std::chrono::steady_clock;

}  // namespace

Settlement SettleByReading(std::unique_ptr<SerialSession> session, const PortOpener& reopen,
                           const ConfigFrame& sent, const ConfigFrame& before,
                           SettlingLimits limits) {
    Settlement settlement;
    const auto deadline = Clock::now() + limits.within;
    auto pause = limits.firstPause;
    bool reopened = false;
    for (int attempt = 0; attempt < limits.tries && Clock::now() < deadline; ++attempt) {
        if (attempt > 0) {
            std::this_thread::sleep_for(std::min<Clock::duration>(pause, deadline - Clock::now()));
            pause *= 4;
        }
        if (!session) {
            PortOpening opening = reopen();
            session = std::move(opening.session);
            if (!session) {
                continue;  // the adapter may be coming back
            }
            reopened = true;
        }
        session->DiscardInput();
        ConfigFrame frame{};
        const ModuleReadOutcome read = ReadModuleFrame(*session, frame);
        if (read == ModuleReadOutcome::Read) {
            settlement.readBack = frame;
            // Behind a port opened again there may be another module, plugged in where this
            // one was: fresh modules often hold the same block, so the old block proves
            // nothing there. Only the frame sent, with its MAC, names the module written.
            settlement.took = SameBlock(frame, sent)                  ? WriteTook::Yes
                              : !reopened && SameBlock(frame, before) ? WriteTook::No
                                                                      : WriteTook::Unknown;
            return settlement;
        }
        if (read == ModuleReadOutcome::PortReadFailed ||
            read == ModuleReadOutcome::PortWriteFailed) {
            session.reset();  // a fresh session next time
        }
    }
    return settlement;
}
