#include "line/line_snapshot.h"

#include <algorithm>

#include <nlohmann/json.hpp>

#include "line/line_alarms.h"
#include "line/rolling_rate.h"
#include "line/station_tile.h"

namespace {

using Json = nlohmann::ordered_json;

std::string Text(const Json& json) {
    return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// A share of passes, or null when nothing was attempted.
Json Yield(std::int64_t passed, std::int64_t attempts) {
    return attempts > 0 ? Json(static_cast<double>(passed) / static_cast<double>(attempts))
                        : Json(nullptr);
}

// Hours that `count` modules last at `perHour`, or null when nothing is being made.
Json HoursLeft(std::int64_t count, double perHour) {
    return perHour > 0 ? Json(static_cast<double>(std::max<std::int64_t>(count, 0)) / perHour)
                       : Json(nullptr);
}

Json TileJson(const StationTile& tile) {
    const StationFigures& figures = tile.figures;
    Json json{{"station", tile.station},
              {"state", TileStateWord(tile.state)},
              {"host", tile.row ? tile.row->host : ""},
              {"program", tile.row ? tile.row->program : ""},
              {"version", tile.row ? tile.row->version : ""},
              {"order", tile.row ? tile.row->order : ""},
              {"per_hour", PerHourOfWindow(figures.recentPassed)},
              {"first_pass_yield", Yield(figures.firstPassed, figures.firstAttempts)},
              {"passed", figures.passed},
              {"failed", figures.attempts - figures.passed},
              {"last_module", figures.lastModuleMs > 0 ? Json(figures.lastModuleMs) : Json()}};
    const bool rowIsNewer = tile.row && tile.row->lastFailureMs > figures.lastFailureMs;
    json["last_failure_reason"] =
        rowIsNewer ? tile.row->lastFailureReason : figures.lastFailureReason;
    const std::int64_t lastFailure = rowIsNewer ? tile.row->lastFailureMs : figures.lastFailureMs;
    json["last_failure"] = lastFailure > 0 ? Json(lastFailure) : Json();
    return json;
}

// Each order with the pace of its own modules: a line serving two orders finishes neither at the
// line's whole rate.
std::vector<PacedOrder> PacedOrders(const LineState& state) {
    std::vector<PacedOrder> paced;
    for (const OrderRow& order : state.orders) {
        double perHour = 0;
        for (const OrderPace& pace : state.figures.orders) {
            if (pace.order == order.name) {
                perHour = PerHourOfWindow(pace.recentPassed);
            }
        }
        paced.push_back({order, perHour});
    }
    return paced;
}

Json OrderJson(const PacedOrder& paced) {
    const OrderRow& order = paced.row;
    const double perHour = paced.perHour;
    const std::int64_t remaining = std::max<std::int64_t>(order.quantity - order.verified, 0);
    return {
        {"name", order.name},
        {"state", OrderStateName(order.state)},
        {"quantity", order.quantity},
        {"verified", order.verified},
        {"failed", order.failed},
        {"in_flight", order.inFlight},
        {"remaining", remaining},
        {"per_hour", perHour},
        {"hours_left", order.state == OrderState::Open ? HoursLeft(remaining, perHour) : Json()},
        {"created_by", order.createdBy},
        {"created", order.createdMs},
        {"config_sha256", order.configSha256}};
}

Json PoolJson(const PoolStatus& pool, double perHour) {
    return {{"free", pool.free},
            {"reserved", pool.reserved},
            {"used", pool.used},
            {"quarantined", pool.quarantined},
            {"hours_left", HoursLeft(static_cast<std::int64_t>(pool.free), perHour)}};
}

Json ShiftSeries(const LineState& state) {
    Json rate = Json::array();
    for (const RatePoint& point : RollingRate(state.figures.minutes, state.fromMs, state.nowMs)) {
        rate.push_back({{"t", point.timeMs}, {"per_hour", point.perHour}});
    }
    Json yield = Json::array();
    for (const HourYield& hour : state.figures.hours) {
        yield.push_back({{"t", hour.hour * 3'600'000},
                         {"attempts", hour.attempts},
                         {"passed", hour.passed},
                         {"first_pass_yield", Yield(hour.passed, hour.attempts)}});
    }
    Json pareto = Json::array();
    for (const ReasonCount& reason : state.figures.pareto) {
        pareto.push_back({{"reason", reason.reason}, {"count", reason.count}});
    }
    return {{"rate", rate}, {"yield_by_hour", yield}, {"pareto", pareto}};
}

}  // namespace

LineSnapshot BuildSnapshot(const LineState& state, const StoreWhereabouts& where,
                           const LineThresholds& thresholds) {
    const std::vector<StationTile> tiles =
        StationTiles(state.rows, state.figures.stations, state.nowMs, thresholds);
    std::int64_t attempts = 0, passed = 0, firstAttempts = 0, firstPassed = 0, recent = 0;
    Json stations = Json::array();
    for (const StationTile& tile : tiles) {
        attempts += tile.figures.attempts;
        passed += tile.figures.passed;
        firstAttempts += tile.figures.firstAttempts;
        firstPassed += tile.figures.firstPassed;
        recent += tile.figures.recentPassed;
        stations.push_back(TileJson(tile));
    }
    const double perHour = PerHourOfWindow(recent);
    const std::vector<PacedOrder> paced = PacedOrders(state);
    Json orders = Json::array();
    for (const PacedOrder& order : paced) {
        orders.push_back(OrderJson(order));
    }
    Json alarms = Json::array();
    for (const LineAlarm& alarm : LineAlarms(tiles, paced, state.pool, perHour, thresholds)) {
        alarms.push_back({{"kind", alarm.kind}, {"subject", alarm.subject}, {"text", alarm.text}});
    }
    const Json pool = PoolJson(state.pool, perHour);
    Json summary{
        {"store", {{"kind", where.kind}, {"host", where.host}, {"database", where.database}}},
        {"shift", {{"from", state.fromMs}, {"to", state.nowMs}}},
        {"line",
         {{"per_hour", perHour},
          {"attempts", attempts},
          {"passed", passed},
          {"failed", attempts - passed},
          {"first_pass_yield", Yield(firstPassed, firstAttempts)}}},
        {"pool", pool},
        {"orders", orders},
        {"stations", stations},
        {"series", ShiftSeries(state)},
        {"alarms", alarms},
        {"latest_record_id", state.figures.latestRecordId}};
    // The time of making and the shift's moving end change every time; the rest is content.
    Json content = summary;
    content.erase("shift");
    LineSnapshot snapshot;
    snapshot.content = Text(content);
    summary["generated"] = state.nowMs;
    snapshot.summary = Text(summary);
    snapshot.stations = Text(Json{{"generated", state.nowMs}, {"stations", stations}});
    snapshot.orders = Text(Json{{"generated", state.nowMs}, {"orders", orders}, {"pool", pool}});
    snapshot.alarms = Text(Json{{"generated", state.nowMs}, {"alarms", alarms}});
    snapshot.latestRecordId = state.figures.latestRecordId;
    return snapshot;
}
