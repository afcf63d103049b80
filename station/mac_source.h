#pragma once

#include <mutex>
#include <optional>
#include <set>
#include <string>

#include "model/mac_address.h"

// Where a batch takes its modules' MAC addresses from. A MAC is taken before a module is
// touched; it is given back when the module did not take the frame (no acknowledgement), so the
// next module gets it, and it stays used once a module acknowledged, whether or not the
// read-back matched (the module may hold it). No MAC is ever handed out twice. Safe to use
// from several threads at once.
class MacSource {
  public:
    virtual ~MacSource() = default;

    // The MAC for the module on `port`, or nothing when none is left (or the source failed).
    [[nodiscard]] virtual std::optional<MacAddress> Take(const std::string& port) = 0;
    // The module on the port did not acknowledge: the MAC goes to the next module.
    virtual void GiveBack(const MacAddress& mac) = 0;
    // The module acknowledged (`verified`: and gave the same block back).
    virtual void Written(const MacAddress& mac, bool verified) = 0;
};

// The window's rule for a batch without a pool: each success takes the next address after the
// one before, starting at a given address; a MAC given back is handed out again first (lowest
// first), so the successes have no gap.
class MacSequence : public MacSource {
  public:
    explicit MacSequence(const MacAddress& start) : m_next(start) {}

    [[nodiscard]] std::optional<MacAddress> Take(const std::string& port) override;
    void GiveBack(const MacAddress& mac) override;
    void Written(const MacAddress& mac, bool verified) override;

  private:
    std::mutex m_mutex;
    MacAddress m_next;
    std::set<std::uint64_t> m_givenBack;
};
