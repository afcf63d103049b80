#pragma once

#include <memory>
#include <string>

#include "store/sql_station_store.h"
#include "store/station_schema.h"

// The store on a PostgreSQL server, shared by a line of stations.
class PostgresStationStore final : public SqlStationStore {
  public:
    // Connects with the connection URI `uri` and brings the schema to `schemaVersion`.
    // Messages show where it connected, never a password.
    [[nodiscard]] static StoreResult<std::unique_ptr<StationStore>> Open(
        const std::string& uri, int schemaVersion = kCurrentSchemaVersion);

    // Connects for reading only: every transaction of the connection is read-only, and the
    // schema must be the current one.
    [[nodiscard]] static StoreResult<std::unique_ptr<StationStore>> OpenForReading(
        const std::string& uri);

  private:
    using SqlStationStore::SqlStationStore;
};
