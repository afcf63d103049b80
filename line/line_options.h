#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "line/line_thresholds.h"

// The command line of lvcfg-line.
struct LineOptions {
    std::string storeUrl;  // --station-db or LVCFG_STATION_DB; empty: the default SQLite file
    std::string listenAddress = "127.0.0.1";
    std::uint16_t listenPort = 8080;
    std::size_t maxViewers = 200;
    std::string chartJsPath;
    LineThresholds thresholds;
};

// Exit codes, as the man page lists them.
enum class LineExit { Ok = 0, Failed = 1, Usage = 2, StoreFailed = 6 };

// Reads the command line; an exit code when the program ends here (help, version, bad
// usage: the texts are already written).
[[nodiscard]] std::optional<LineExit> ParseLineOptions(int argc, char** argv, LineOptions& options);

// "ADDR:PORT" or "[IPv6]:PORT"; false when it is neither.
[[nodiscard]] bool SplitListenAddress(const std::string& text, std::string& address,
                                      std::uint16_t& port);
