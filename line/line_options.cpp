#include "line/line_options.h"

#include <charconv>

#include <CLI/CLI.hpp>

namespace {

// Minutes as the command line gives them (fractions allowed) in milliseconds.
std::int64_t MinutesMs(double minutes) {
    return static_cast<std::int64_t>(minutes * 60'000);
}

}  // namespace

bool SplitListenAddress(const std::string& text, std::string& address, std::uint16_t& port) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0) {
        return false;
    }
    address = text.substr(0, colon);
    if (address.front() == '[' && address.back() == ']') {
        address = address.substr(1, address.size() - 2);
    }
    const std::string digits = text.substr(colon + 1);
    const auto parsed = std::from_chars(digits.data(), digits.data() + digits.size(), port);
    return !address.empty() && !digits.empty() && parsed.ec == std::errc() &&
           parsed.ptr == digits.data() + digits.size();
}

std::optional<LineExit> ParseLineOptions(int argc, char** argv, LineOptions& options) {
    CLI::App app{
        "lvcfg-line: the production line as a live web page, read from the station "
        "database"};
    app.set_version_flag("--version", "lvcfg-line " LVCFG_VERSION);
    std::string listen = "127.0.0.1:8080";
    double shiftHours = 8;
    double idleMinutes = 5;
    double idleAlarmMinutes = 15;
    double yieldPercent = 90;
    LineThresholds& limits = options.thresholds;
    options.chartJsPath = LVCFG_CHART_JS_PATH;
    app.add_option("--station-db", options.storeUrl,
                   "the station database: sqlite:PATH or postgresql://... (default "
                   "sqlite:$XDG_DATA_HOME/lvcfg/station.sqlite)")
        ->envname("LVCFG_STATION_DB");
    app.add_option("--listen", listen, "the address and port to serve on")->default_str(listen);
    app.add_option("--max-viewers", options.maxViewers, "event streams open at once")
        ->default_val(options.maxViewers)
        ->check(CLI::Range(1, 100000));
    app.add_option("--shift-hours", shiftHours, "the shift the page counts: the last N hours")
        ->default_val(shiftHours)
        ->check(CLI::Range(0.1, 72.0));
    app.add_option("--idle-minutes", idleMinutes, "a station without a module this long is idle")
        ->default_val(idleMinutes)
        ->check(CLI::PositiveNumber);
    app.add_option("--idle-alarm-minutes", idleAlarmMinutes, "an idle station raises an alarm")
        ->default_val(idleAlarmMinutes)
        ->check(CLI::PositiveNumber);
    app.add_option("--yield-alarm-below", yieldPercent,
                   "an alarm when a station's first-pass yield is under this percentage ...")
        ->default_val(yieldPercent)
        ->check(CLI::Range(0.0, 100.0));
    app.add_option("--yield-alarm-modules", limits.yieldAlarmModules,
                   "... over its last this many modules")
        ->default_val(limits.yieldAlarmModules)
        ->check(CLI::Range(1, 10000));
    app.add_option("--pool-alarm-free", limits.poolAlarmFree,
                   "an alarm when fewer MACs than this are free")
        ->default_val(limits.poolAlarmFree)
        ->check(CLI::NonNegativeNumber);
    app.add_option("--order-alarm-remaining", limits.orderAlarmRemaining,
                   "an alarm when an open order has fewer modules than this left")
        ->default_val(limits.orderAlarmRemaining)
        ->check(CLI::NonNegativeNumber);
    app.add_option("--chart-js", options.chartJsPath, "Chart.js, served to the page")
        ->default_str(options.chartJsPath);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int code = app.exit(error);
        return code == 0 ? LineExit::Ok : LineExit::Usage;
    }
    if (!SplitListenAddress(listen, options.listenAddress, options.listenPort)) {
        std::cerr << "lvcfg-line: --listen takes ADDR:PORT, such as 0.0.0.0:8080, not " << listen
                  << '\n';
        return LineExit::Usage;
    }
    limits.shiftMs = static_cast<std::int64_t>(shiftHours * 3'600'000);
    limits.idleAfterMs = MinutesMs(idleMinutes);
    limits.idleAlarmMs = MinutesMs(idleAlarmMinutes);
    limits.yieldAlarmBelow = yieldPercent / 100;
    return std::nullopt;
}
