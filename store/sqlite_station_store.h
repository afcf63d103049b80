#pragma once

#include <memory>
#include <string>

#include "store/sql_station_store.h"
#include "store/station_schema.h"

// The store in one SQLite file, for one station: WAL mode, every allocation under
// BEGIN IMMEDIATE, every commit flushed to disk. The file must sit on a local disk; SQLite's
// locks do not hold on a network file system, so such a file is refused.
class SqliteStationStore final : public SqlStationStore {
  public:
    // Opens the file at `path`, creating it (readable by its owner only) and its folders
    // when missing, and brings its schema to `schemaVersion`.
    [[nodiscard]] static StoreResult<std::unique_ptr<StationStore>> Open(
        const std::string& path, int schemaVersion = kCurrentSchemaVersion);

    // Opens the existing file at `path` for reading only; its schema must be the current one.
    [[nodiscard]] static StoreResult<std::unique_ptr<StationStore>> OpenForReading(
        const std::string& path);

  private:
    using SqlStationStore::SqlStationStore;
};
