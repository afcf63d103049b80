#include "station/outside_pool_macs.h"

#include <utility>

namespace {

constexpr MacNumber kLastMac = kMacNumberLimit - 1;

std::string Named(MacNumber mac) {
    return FormatMacAddress(MacFromNumber(mac));
}

// The hold of a MAC outside the pool ends with the record; a MAC that never reached a module
// is let go, so it may be given again.
StoreStatus EndHold(StationStore& store, const MacGrant& grant, MacEnd end,
                    const ProductionRecord& record) {
    const bool givenUp = end == MacEnd::NotSent || end == MacEnd::NotTaken;
    return store.EndOutsidePool(grant.holdId, givenUp, record);
}

std::vector<MacAddress> MacsOf(const std::set<MacNumber>& numbers) {
    std::vector<MacAddress> macs;
    for (const MacNumber mac : numbers) {
        macs.push_back(MacFromNumber(mac));
    }
    return macs;
}

StoreStatus Refused(StoreOutcome outcome, const std::string& message) {
    return StoreFailure(outcome, message);
}

}  // namespace

StoreResult<std::unique_ptr<SequenceMacSource>> SequenceMacSource::Open(StationStore& store,
                                                                        std::string station,
                                                                        const MacAddress& start) {
    const MacNumber first = MacToNumber(start);
    const StoreResult<MacState> state = store.StateOf(first);
    const StoreResult<std::optional<MacNumber>> last = store.LastMacSentOutsidePool();
    const StoreResult<std::optional<ProgrammedMac>> programmed = store.FindProgrammed(first);
    for (const StoreStatus& failed :
         {StoreStatus{state.outcome, state.message}, StoreStatus{last.outcome, last.message},
          StoreStatus{programmed.outcome, programmed.message}}) {
        if (!failed.Ok()) {
            return failed;
        }
    }
    if (state.value != MacState::NotInPool) {
        return Refused(
            StoreOutcome::MacInPool,
            "the start MAC " + Named(first) +
                " belongs to the MAC pool; without a start MAC, MACs come from the pool");
    }
    if (last.value && first <= *last.value) {
        const std::string next = *last.value == kLastMac
                                     ? "none is left"
                                     : "start at " + Named(*last.value + 1) + " or later";
        return Refused(StoreOutcome::MacTaken, "the start MAC " + Named(first) +
                                                   " is at or below " + Named(*last.value) +
                                                   ", the last MAC sent outside the pool; " + next);
    }
    if (programmed.value) {
        return Refused(StoreOutcome::MacTaken, "the start MAC " + Named(first) +
                                                   " was given to a module by station " +
                                                   programmed.value->station);
    }
    return std::unique_ptr<SequenceMacSource>(
        new SequenceMacSource(store, std::move(station), first));
}

SequenceMacSource::SequenceMacSource(StationStore& store, std::string station, MacNumber start)
    : m_store(store), m_station(std::move(station)), m_next(start) {}

// The MAC is picked under the lock and held in the store without it: Settle, which takes the
// lock, may run inside a transaction of the store that ends many modules at once.
MacTake SequenceMacSource::Take(const std::string& port, const MacAddress& current) {
    MacNumber mac = 0;
    bool fresh = false;
    {
        const std::lock_guard lock(m_mutex);
        std::set<MacNumber>* reused = !m_neverSent.empty()  ? &m_neverSent
                                      : !m_notTaken.empty() ? &m_notTaken
                                                            : nullptr;
        if (reused == nullptr && !m_next) {
            return {std::nullopt, ModuleOutcome::PoolEmpty, m_ended};
        }
        fresh = reused == nullptr;
        mac = fresh ? *m_next : *reused->begin();
        if (fresh) {
            m_next = mac < kLastMac ? std::optional<MacNumber>(mac + 1) : std::nullopt;
        } else {
            reused->erase(reused->begin());
        }
    }
    const StoreResult<Reservation> held =
        m_store.ReserveOutsidePool(mac, {m_station, port}, MacToNumber(current) == mac);
    if (held.Ok()) {
        return {MacGrant{MacFromNumber(mac), held.value.id}, ModuleOutcome::Succeeded, {}};
    }
    const std::lock_guard lock(m_mutex);
    if (held.outcome == StoreOutcome::MacInPool || held.outcome == StoreOutcome::MacTaken) {
        // The sequence ends where it meets a MAC it may not give.
        m_next.reset();
        m_neverSent.clear();
        m_notTaken.clear();
        m_ended = "the start MAC has reached " + Named(mac) + ": " + held.message;
        return {std::nullopt, ModuleOutcome::PoolEmpty, m_ended};
    }
    m_neverSent.insert(mac);  // not held, so never sent: the next module may have it
    return {std::nullopt, ModuleOutcome::StoreFailed, held.message};
}

StoreStatus SequenceMacSource::Settle(StationStore& store, const MacGrant& grant, MacEnd end,
                                      const ProductionRecord& record,
                                      const std::string& /*reason*/) {
    const StoreStatus ended = EndHold(store, grant, end, record);
    const std::lock_guard lock(m_mutex);
    const MacNumber mac = MacToNumber(grant.mac);
    if (end == MacEnd::NotSent) {
        m_neverSent.insert(mac);
    } else if (end == MacEnd::NotTaken) {
        m_notTaken.insert(mac);
    } else if (end == MacEnd::Suspect) {
        m_suspects.insert(mac);
    }
    return ended;
}

std::optional<MacAddress> SequenceMacSource::Next() const {
    const std::lock_guard lock(m_mutex);
    return m_next ? std::optional<MacAddress>(MacFromNumber(*m_next)) : std::nullopt;
}

std::vector<MacAddress> SequenceMacSource::Unused() const {
    const std::lock_guard lock(m_mutex);
    return MacsOf(m_neverSent);
}

std::vector<MacAddress> SequenceMacSource::Suspects() const {
    const std::lock_guard lock(m_mutex);
    return MacsOf(m_suspects);
}

StoreResult<std::unique_ptr<GivenMacSource>> GivenMacSource::Open(StationStore& store,
                                                                  std::string station,
                                                                  const MacAddress& mac) {
    const StoreResult<MacState> state = store.StateOf(MacToNumber(mac));
    if (!state.Ok()) {
        return StoreStatus{state.outcome, state.message};
    }
    if (state.value != MacState::NotInPool) {
        return Refused(
            StoreOutcome::MacInPool,
            FormatMacAddress(mac) + " belongs to the pool; batch takes it from the pool");
    }
    return std::unique_ptr<GivenMacSource>(new GivenMacSource(store, std::move(station), mac));
}

GivenMacSource::GivenMacSource(StationStore& store, std::string station, const MacAddress& mac)
    : m_store(store), m_station(std::move(station)), m_mac(mac) {}

MacTake GivenMacSource::Take(const std::string& port, const MacAddress& current) {
    const StoreResult<Reservation> held =
        m_store.ReserveOutsidePool(MacToNumber(m_mac), {m_station, port}, current == m_mac);
    if (held.outcome == StoreOutcome::MacInPool || held.outcome == StoreOutcome::MacTaken) {
        return {
            std::nullopt, ModuleOutcome::MacRefused,
            FormatMacAddress(m_mac) + ": " + held.message + ", and this module does not hold it"};
    }
    if (!held.Ok()) {
        return {std::nullopt, ModuleOutcome::StoreFailed, held.message};
    }
    return {MacGrant{m_mac, held.value.id}, ModuleOutcome::Succeeded, {}};
}

StoreStatus GivenMacSource::Settle(StationStore& store, const MacGrant& grant, MacEnd end,
                                   const ProductionRecord& record, const std::string& /*reason*/) {
    return EndHold(store, grant, end, record);
}
