#include "store/open_station_store.h"

#include <cstdlib>

#include "store/postgres_station_store.h"
#include "store/sqlite_station_store.h"

StoreResult<StoreLocation> StoreLocationOf(const std::string& url) {
    if (url.empty()) {
        const std::string path =
            DefaultStationDbPath(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
        if (path.empty()) {
            return StoreFailure(StoreOutcome::BadUrl,
                                "no station database given and neither XDG_DATA_HOME nor HOME "
                                "is set");
        }
        return StoreLocation{StoreKind::Sqlite, path};
    }
    return ParseStoreUrl(url);
}

StoreResult<std::unique_ptr<StationStore>> OpenStationStore(const std::string& url,
                                                            int schemaVersion) {
    StoreResult<StoreLocation> location = StoreLocationOf(url);
    if (!location.Ok()) {
        return StoreFailure(location.outcome, location.message);
    }
    if (location.value.kind == StoreKind::Postgres) {
        return PostgresStationStore::Open(location.value.target, schemaVersion);
    }
    return SqliteStationStore::Open(location.value.target, schemaVersion);
}

StoreResult<std::unique_ptr<StationStore>> OpenStationStoreForReading(const std::string& url) {
    StoreResult<StoreLocation> location = StoreLocationOf(url);
    if (!location.Ok()) {
        return StoreFailure(location.outcome, location.message);
    }
    if (location.value.kind == StoreKind::Postgres) {
        return PostgresStationStore::OpenForReading(location.value.target);
    }
    return SqliteStationStore::OpenForReading(location.value.target);
}
