#pragma once

#include <QMetaType>
#include <QString>
#include <cstdint>
#include <optional>

// What keeps the line from going on, as the station knows it now: each holds until its cause
// is gone, and the banner names the next step for each.
struct StationConditions {
    bool macsFromPool = true;               // the run takes (or would take) MACs from the pool
    std::optional<std::uint64_t> poolFree;  // the pool's free MACs; nothing when not read
    QString noStore;      // why there is no station database; empty when it opened
    QString storeFailed;  // why the database failed during the run; empty while it works
    QString storeAt;      // where the database lives, as people may see it
    QString noArrivals;   // why plugged-in adapters cannot be seen; empty when they can

    bool operator==(const StationConditions&) const = default;
};

Q_DECLARE_METATYPE(StationConditions)
