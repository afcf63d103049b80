#pragma once

#include <memory>
#include <ostream>
#include <string>

// A place for one test's store: a fresh SQLite file, or a fresh schema on the PostgreSQL
// server that the libpq environment names (PGHOST, PGPORT, PGUSER, ...). The place is removed
// when the test ends.
class StoreBackend {
  public:
    virtual ~StoreBackend() = default;
    // The URL that opens this test's store.
    [[nodiscard]] virtual std::string Url() const = 0;
    // Closes every server connection of this test's store as a stopped server would; false
    // where the backend has no server.
    [[nodiscard]] virtual bool DropConnections() { return false; }
    // Runs `sql` on this test's store behind the store's back, to set up what no store
    // operation makes (a reservation of another host). Test scaffolding only.
    [[nodiscard]] virtual bool Execute(const std::string& sql) = 0;
};

enum class BackendKind { Sqlite, Postgres };

inline void PrintTo(BackendKind kind, std::ostream* out) {
    *out << (kind == BackendKind::Sqlite ? "SQLite" : "PostgreSQL");
}

// Nothing, with `skipReason` set, when the backend is not meant to run here (no server
// given), or with `failure` set when a server is given but unusable.
[[nodiscard]] std::unique_ptr<StoreBackend> MakeStoreBackend(BackendKind kind,
                                                             std::string& skipReason,
                                                             std::string& failure);
