#pragma once

#include <string>

#include "store/store_outcome.h"

// Where a store lives, as the command line names it:
//   sqlite:PATH                      an SQLite file (sqlite:///abs/path is read as /abs/path)
//   postgresql://... or postgres://  a PostgreSQL connection URI, read by libpq
//   an empty text                    the default SQLite file
enum class StoreKind { Sqlite, Postgres };

struct StoreLocation {
    StoreKind kind = StoreKind::Sqlite;
    std::string target;  // the file path, or the whole URI
};

[[nodiscard]] StoreResult<StoreLocation> ParseStoreUrl(const std::string& url);

// $XDG_DATA_HOME/lvcfg/station.sqlite, or ~/.local/share/lvcfg/station.sqlite when
// XDG_DATA_HOME is unset, empty or relative. Either may be null; empty when both are.
[[nodiscard]] std::string DefaultStationDbPath(const char* xdgDataHome, const char* home);

// The URI as it may be shown: without a password in its user part or its parameters.
[[nodiscard]] std::string UriWithoutPassword(const std::string& uri);
