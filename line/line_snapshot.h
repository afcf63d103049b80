#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "line/line_thresholds.h"
#include "store/order_row.h"
#include "store/pool_status.h"
#include "store/shift_figures.h"
#include "store/station_row.h"
#include "store/store_change_source.h"

// What the store said of the line at one moment.
struct LineState {
    std::int64_t nowMs = 0;
    std::int64_t fromMs = 0;  // the start of the shift
    ShiftFigures figures;
    std::vector<StationRow> rows;
    std::vector<OrderRow> orders;
    PoolStatus pool;
};

// The answers of the resources built from one LineState, as the JSON text each one serves.
// `content` is the summary without its time of making: two snapshots with the same content
// show the same page.
struct LineSnapshot {
    std::string summary;
    std::string stations;
    std::string orders;
    std::string alarms;
    std::string content;
    std::int64_t latestRecordId = 0;
};

[[nodiscard]] LineSnapshot BuildSnapshot(const LineState& state, const StoreWhereabouts& where,
                                         const LineThresholds& thresholds);
