#pragma once

#include <memory>
#include <string>

#include "store/store_outcome.h"

// The store as people may be shown it: the host it lives on and the database, never a user,
// a password or connection options.
struct StoreWhereabouts {
    std::string kind;  // "sqlite" or "postgresql"
    std::string host;
    std::string database;
};

// Tells, on a connection of its own, when the store has changed. PostgreSQL announces each
// committed record (a descriptor to watch becomes readable); an SQLite file is asked whether
// it changed, which its reader does about once a second.
class StoreChangeSource {
  public:
    virtual ~StoreChangeSource() = default;

    // Becomes readable when the store announces a change; -1 when changes are found by asking.
    [[nodiscard]] virtual int Descriptor() const = 0;
    // Whether the store changed since the last call; never waits. A failure means the
    // connection has gone and the source must be opened again.
    [[nodiscard]] virtual StoreResult<bool> Changed() = 0;
    [[nodiscard]] virtual const StoreWhereabouts& Where() const = 0;
};

// Opens a change source on the store that `url` names (see OpenStationStore).
[[nodiscard]] StoreResult<std::unique_ptr<StoreChangeSource>> OpenStoreChangeSource(
    const std::string& url);
