#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "store/production_record.h"

// The most records one query gives back, whatever it asks for.
inline constexpr std::int64_t kRecordQueryLimitMax = 1000;

// Which records to find; every criterion given must hold. Texts match exactly.
struct RecordQuery {
    std::optional<std::int64_t> since;    // start at or after, milliseconds since 1970 UTC
    std::optional<std::int64_t> afterId;  // records stored after this one (by id)
    std::string station;
    std::string outcome;  // "ok" or "failed"
    std::string order;
    std::string mac;           // the MAC written or the one the module had before, as recorded
    std::int64_t limit = 100;  // 1 to kRecordQueryLimitMax
};

// A record with the id the store gave it; ids grow in the order records were stored.
struct StoredRecord {
    std::int64_t id = 0;
    ProductionRecord record;
};
