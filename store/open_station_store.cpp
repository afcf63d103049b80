#include "store/open_station_store.h"

#include <cstdlib>

#include "store/postgres_station_store.h"
#include "store/sqlite_station_store.h"
#include "store/store_url.h"

StoreResult<std::unique_ptr<StationStore>> OpenStationStore(const std::string& url,
                                                            int schemaVersion) {
    if (url.empty()) {
        const std::string path =
            DefaultStationDbPath(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
        if (path.empty()) {
            return StoreFailure(StoreOutcome::BadUrl,
                                "no station database given and neither XDG_DATA_HOME nor HOME "
                                "is set");
        }
        return SqliteStationStore::Open(path, schemaVersion);
    }
    StoreResult<StoreLocation> location = ParseStoreUrl(url);
    if (!location.Ok()) {
        return StoreFailure(location.outcome, location.message);
    }
    if (location.value.kind == StoreKind::Postgres) {
        return PostgresStationStore::Open(location.value.target, schemaVersion);
    }
    return SqliteStationStore::Open(location.value.target, schemaVersion);
}
