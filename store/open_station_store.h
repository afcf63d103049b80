#pragma once

#include <memory>
#include <string>

#include "store/station_schema.h"
#include "store/station_store.h"

// Opens the store that `url` names (see store/store_url.h); an empty url opens the default
// SQLite file from XDG_DATA_HOME or HOME. The schema is created or upgraded to
// `schemaVersion` (the current one unless a test asks for an older one).
[[nodiscard]] StoreResult<std::unique_ptr<StationStore>> OpenStationStore(
    const std::string& url, int schemaVersion = kCurrentSchemaVersion);
