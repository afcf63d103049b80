#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "line/line_thresholds.h"
#include "line/station_tile.h"
#include "store/order_row.h"
#include "store/pool_status.h"

// Something on the line that wants a person: shown as a banner and listed in /api/alarms.
struct LineAlarm {
    std::string kind;     // station_offline, station_idle, low_yield, pool_low, order_low
    std::string subject;  // the station or order it concerns; empty for the pool
    std::string text;
};

// An order with the pace of its own modules, per hour.
struct PacedOrder {
    OrderRow row;
    double perHour = 0;
};

// The alarms of the line at one moment; `perHour` is the line's current rate.
[[nodiscard]] std::vector<LineAlarm> LineAlarms(const std::vector<StationTile>& tiles,
                                                const std::vector<PacedOrder>& orders,
                                                const PoolStatus& pool, double perHour,
                                                const LineThresholds& thresholds);
