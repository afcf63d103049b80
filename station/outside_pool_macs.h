#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "station/mac_source.h"
#include "store/station_store.h"

// MACs that come from no pool: a start MAC moving on module by module, or one MAC a person
// gave for one module. Each MAC is held in the store before its module is written, so a MAC
// once sent is never sent to another module, by this run or any later one, on any station of
// the store.

// A start MAC that moves on with every MAC sent. A MAC that never left, or that the module
// did not take (it kept its old block), goes to the next module; a suspect MAC is skipped.
// The sequence stops after FF:FF:FF:FF:FF:FF, and where it meets a MAC of the pool or one
// given to a module before.
class SequenceMacSource : public MacSource {
  public:
    // Refused (MacInPool, MacTaken, with a message) when `start` lies in a pool range, was
    // given to a module before, or is at or below the last MAC sent outside the pool.
    [[nodiscard]] static StoreResult<std::unique_ptr<SequenceMacSource>> Open(
        StationStore& store, std::string station, const MacAddress& start);

    [[nodiscard]] MacTake Take(const std::string& port, const MacAddress& current) override;
    StoreStatus Settle(StationStore& store, const MacGrant& grant, MacEnd end,
                       const ProductionRecord& record, const std::string& reason) override;

    // The MAC the next module gets; nothing once the sequence has ended.
    [[nodiscard]] std::optional<MacAddress> Next() const;
    // MACs taken but never sent, and not taken again: a later run may use them.
    [[nodiscard]] std::vector<MacAddress> Unused() const;
    // MACs skipped because a module may hold them.
    [[nodiscard]] std::vector<MacAddress> Suspects() const;

  private:
    SequenceMacSource(StationStore& store, std::string station, MacNumber start);

    StationStore& m_store;
    const std::string m_station;
    mutable std::mutex m_mutex;
    std::optional<MacNumber> m_next;
    std::set<MacNumber> m_neverSent;
    std::set<MacNumber> m_notTaken;  // sent, but the module kept its old block
    std::set<MacNumber> m_suspects;
    // Why no MAC is left, once the sequence has ended.
    std::string m_ended = "the start MAC has run to FF:FF:FF:FF:FF:FF; no MAC is left";
};

// The one MAC a person gave for a module (lvcfg-cli write --mac). Refused when a pool range
// holds it, or when a module that does not hold it now was given it before.
class GivenMacSource : public MacSource {
  public:
    [[nodiscard]] static StoreResult<std::unique_ptr<GivenMacSource>> Open(StationStore& store,
                                                                           std::string station,
                                                                           const MacAddress& mac);

    [[nodiscard]] MacTake Take(const std::string& port, const MacAddress& current) override;
    StoreStatus Settle(StationStore& store, const MacGrant& grant, MacEnd end,
                       const ProductionRecord& record, const std::string& reason) override;

  private:
    GivenMacSource(StationStore& store, std::string station, const MacAddress& mac);

    StationStore& m_store;
    const std::string m_station;
    const MacAddress m_mac;
};
