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

// The store every program uses: `given` (its --station-db), else $LVCFG_STATION_DB, else the
// default SQLite file as sqlite:PATH; empty when none can be named.
[[nodiscard]] std::string ResolveStationDbUrl(const std::string& given);

// The store as it may be shown to people: sqlite:PATH for a file; for PostgreSQL only the host,
// port, database and user, rebuilt from the parsed address, so that no password or other
// secret (sslpassword, a password holding '?', '#' or '%') can appear, however it was written.
[[nodiscard]] std::string ShownStoreLocation(const std::string& url);
