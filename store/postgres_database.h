#pragma once

#include <string>

#include "store/sql_database.h"

struct pg_conn;

// A connection to a PostgreSQL server through libpq, so the standard environment variables
// (PGHOST, PGPORT, PGUSER, PGPASSWORD, PGPASSFILE and ~/.pgpass, PGSSLMODE, ...) all apply.
class PostgresDatabase final : public SqlDatabase {
  public:
    PostgresDatabase() = default;
    ~PostgresDatabase() override;
    PostgresDatabase(const PostgresDatabase&) = delete;
    PostgresDatabase& operator=(const PostgresDatabase&) = delete;

    // Connects with a connection URI (an empty one leaves everything to the environment).
    [[nodiscard]] bool Open(const std::string& uri);

    [[nodiscard]] bool Run(const std::string& sql, std::span<const SqlValue> params,
                           std::vector<SqlRow>* rows = nullptr) override;
    [[nodiscard]] bool RunScript(const std::string& sql) override;
    [[nodiscard]] const std::string& LastError() const override { return m_lastError; }

    // The open connection as people may see it: postgresql://USER@HOST:PORT/DATABASE, from
    // what the connection uses (the environment's defaults included), never a password.
    [[nodiscard]] std::string ConnectedTo() const;

  private:
    bool Fail();

    pg_conn* m_connection = nullptr;
    std::string m_lastError;
};
