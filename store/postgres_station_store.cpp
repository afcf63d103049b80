#include "store/postgres_station_store.h"

#include "store/postgres_database.h"
#include "store/store_url.h"

StoreResult<std::unique_ptr<StationStore>> PostgresStationStore::Open(const std::string& uri,
                                                                      int schemaVersion) {
    const std::string shown = ShownStoreLocation(uri);
    auto database = std::make_unique<PostgresDatabase>();
    if (!database->Open(uri)) {
        return StoreFailure(
            StoreOutcome::DatabaseFailed,
            "cannot connect to the station database " + shown + ": " + database->LastError());
    }
    const std::string connectedTo = database->ConnectedTo();
    std::unique_ptr<PostgresStationStore> store(
        new PostgresStationStore(std::move(database), PostgresDialect(), connectedTo));
    if (StoreStatus prepared = store->PrepareSchema(schemaVersion); !prepared.Ok()) {
        return prepared;
    }
    return std::unique_ptr<StationStore>(std::move(store));
}
