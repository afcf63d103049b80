#include "line/line_alarms.h"

#include <cmath>

namespace {

std::string Minutes(std::int64_t ms) {
    return ms < 60'000 ? std::to_string(ms / 1000) + " s" : std::to_string(ms / 60'000) + " min";
}

std::string Percent(double share) {
    return std::to_string(static_cast<int>(std::lround(share * 100))) + " %";
}

void StationAlarms(const StationTile& tile, const LineThresholds& thresholds,
                   std::vector<LineAlarm>& alarms) {
    const std::string& name = tile.station;
    if (tile.state == TileState::Offline) {
        alarms.push_back({"station_offline", name,
                          "Station " + name + " is offline: its program has not been heard from"});
    } else if (tile.state == TileState::Idle && tile.quietMs >= thresholds.idleAlarmMs) {
        alarms.push_back(
            {"station_idle", name,
             "Station " + name + " has had no module for over " + Minutes(thresholds.idleAlarmMs)});
    }
    const StationFigures& figures = tile.figures;
    if (figures.lastAttempts >= thresholds.yieldAlarmModules && figures.lastAttempts > 0) {
        const double yield =
            static_cast<double>(figures.lastPassed) / static_cast<double>(figures.lastAttempts);
        if (yield < thresholds.yieldAlarmBelow) {
            alarms.push_back({"low_yield", name,
                              "Station " + name + ": first-pass yield " + Percent(yield) +
                                  " over its last " + std::to_string(figures.lastAttempts) +
                                  " modules, below " + Percent(thresholds.yieldAlarmBelow)});
        }
    }
}

std::string TimeLeft(std::int64_t count, double perHour) {
    if (perHour <= 0) {
        return "";
    }
    return ", about " + Minutes(static_cast<std::int64_t>(count / perHour * 3'600'000)) +
           " at the current rate";
}

}  // namespace

std::vector<LineAlarm> LineAlarms(const std::vector<StationTile>& tiles,
                                  const std::vector<PacedOrder>& orders, const PoolStatus& pool,
                                  double perHour, const LineThresholds& thresholds) {
    std::vector<LineAlarm> alarms;
    for (const StationTile& tile : tiles) {
        StationAlarms(tile, thresholds, alarms);
    }
    const auto free = static_cast<std::int64_t>(pool.free);
    if (!pool.ranges.empty() && free < thresholds.poolAlarmFree) {
        alarms.push_back(
            {"pool_low", "",
             "Only " + std::to_string(free) + " MACs left in the pool" + TimeLeft(free, perHour)});
    }
    for (const PacedOrder& paced : orders) {
        const OrderRow& order = paced.row;
        const std::int64_t remaining = order.quantity - order.verified;
        if (order.state == OrderState::Open && remaining < thresholds.orderAlarmRemaining) {
            alarms.push_back({"order_low", order.name,
                              "Order " + order.name + ": only " + std::to_string(remaining) +
                                  " modules left" + TimeLeft(remaining, paced.perHour)});
        }
    }
    return alarms;
}
