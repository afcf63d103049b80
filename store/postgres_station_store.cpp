#include "store/postgres_station_store.h"

#include "store/postgres_database.h"
#include "store/store_url.h"

namespace {

// Connects to `uri`, read-only when asked. The failure names the server as it may be shown.
StoreResult<std::unique_ptr<PostgresDatabase>> Connect(const std::string& uri, bool readOnly) {
    auto database = std::make_unique<PostgresDatabase>();
    if (!database->Open(uri) ||
        (readOnly &&
         !database->RunScript("SET SESSION CHARACTERISTICS AS TRANSACTION READ ONLY"))) {
        return StoreFailure(StoreOutcome::DatabaseFailed,
                            "cannot connect to the station database " + ShownStoreLocation(uri) +
                                ": " + database->LastError());
    }
    return database;
}

}  // namespace

StoreResult<std::unique_ptr<StationStore>> PostgresStationStore::Open(const std::string& uri,
                                                                      int schemaVersion) {
    StoreResult<std::unique_ptr<PostgresDatabase>> database = Connect(uri, false);
    if (!database.Ok()) {
        return StoreStatus{database.outcome, database.message};
    }
    const std::string connectedTo = database.value->ConnectedTo();
    std::unique_ptr<PostgresStationStore> store(
        new PostgresStationStore(std::move(database.value), PostgresDialect(), connectedTo));
    if (StoreStatus prepared = store->PrepareSchema(schemaVersion); !prepared.Ok()) {
        return prepared;
    }
    return std::unique_ptr<StationStore>(std::move(store));
}

StoreResult<std::unique_ptr<StationStore>> PostgresStationStore::OpenForReading(
    const std::string& uri) {
    StoreResult<std::unique_ptr<PostgresDatabase>> database = Connect(uri, true);
    if (!database.Ok()) {
        return StoreStatus{database.outcome, database.message};
    }
    const std::string connectedTo = database.value->ConnectedTo();
    std::unique_ptr<PostgresStationStore> store(
        new PostgresStationStore(std::move(database.value), PostgresDialect(), connectedTo));
    if (StoreStatus checked = store->CheckSchema(); !checked.Ok()) {
        return checked;
    }
    return std::unique_ptr<StationStore>(std::move(store));
}
