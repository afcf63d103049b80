#pragma once

#include <cstdint>
#include <map>
#include <vector>

// Which records are new since the page last heard. Ids grow as records are stored, but on a
// server that many stations write at once a lower id may commit after a higher one: an id
// skipped over stays awaited for a while (a rolled-back one never comes), so a late commit is
// still told, once.
class RecordIdTracker {
  public:
    // Records up to `latestId` are known already.
    explicit RecordIdTracker(std::int64_t latestId) : m_highest(latestId) {}

    // Ask the store for the ids above this one.
    [[nodiscard]] std::int64_t Floor() const;
    // `ids`: the store's ids above Floor(), lowest first. Gives those not told before.
    [[nodiscard]] std::vector<std::int64_t> Take(const std::vector<std::int64_t>& ids,
                                                 std::int64_t nowMs);

    // How long a skipped id is awaited, and how many are awaited at most.
    static constexpr std::int64_t kAwaitMs = 30'000;
    static constexpr std::size_t kAwaitedMax = 1000;

  private:
    std::int64_t m_highest;
    std::map<std::int64_t, std::int64_t> m_awaited;  // id -> when it was skipped
};
