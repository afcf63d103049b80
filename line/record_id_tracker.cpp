#include "line/record_id_tracker.h"

std::int64_t RecordIdTracker::Floor() const {
    return m_awaited.empty() ? m_highest : m_awaited.begin()->first - 1;
}

std::vector<std::int64_t> RecordIdTracker::Take(const std::vector<std::int64_t>& ids,
                                                std::int64_t nowMs) {
    std::vector<std::int64_t> fresh;
    for (const std::int64_t id : ids) {
        if (id > m_highest) {
            // Only the latest skipped ids are worth awaiting: a burst of rollbacks is no reason
            // to hold thousands.
            const std::int64_t firstAwaited =
                std::max(m_highest + 1, id - static_cast<std::int64_t>(kAwaitedMax));
            for (std::int64_t skipped = firstAwaited; skipped < id; ++skipped) {
                m_awaited.emplace(skipped, nowMs);
            }
            m_highest = id;
            fresh.push_back(id);
        } else if (m_awaited.erase(id) > 0) {
            fresh.push_back(id);
        }
    }
    std::erase_if(m_awaited,
                  [&](const auto& awaited) { return nowMs - awaited.second > kAwaitMs; });
    while (m_awaited.size() > kAwaitedMax) {
        m_awaited.erase(m_awaited.begin());
    }
    return fresh;
}
