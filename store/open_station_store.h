#pragma once

#include <memory>
#include <string>

#include "store/station_schema.h"
#include "store/station_store.h"
#include "store/store_url.h"

// Where the store that `url` names lives: as ParseStoreUrl reads it, and the default SQLite
// file from XDG_DATA_HOME or HOME for an empty url.
[[nodiscard]] StoreResult<StoreLocation> StoreLocationOf(const std::string& url);

// Opens the store that `url` names (see store/store_url.h); an empty url opens the default
// SQLite file from XDG_DATA_HOME or HOME. The schema is created or upgraded to
// `schemaVersion` (the current one unless a test asks for an older one).
[[nodiscard]] StoreResult<std::unique_ptr<StationStore>> OpenStationStore(
    const std::string& url, int schemaVersion = kCurrentSchemaVersion);

// Opens the store that `url` names (the default SQLite file for an empty url) for reading
// only; nothing is created or upgraded.
[[nodiscard]] StoreResult<std::unique_ptr<StationStore>> OpenStationStoreForReading(
    const std::string& url);
