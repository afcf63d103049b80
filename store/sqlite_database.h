#pragma once

#include <map>
#include <memory>
#include <string>

#include "store/sql_database.h"

struct sqlite3;
struct sqlite3_stmt;

// A connection to one SQLite file. Statements are prepared once and kept for reuse.
class SqliteDatabase final : public SqlDatabase {
  public:
    SqliteDatabase() = default;
    ~SqliteDatabase() override;
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    // Opens `path` for reading and writing, creating it when missing. false when it cannot be
    // opened, or opens only for reading.
    [[nodiscard]] bool Open(const std::string& path);
    // Opens the existing file at `path` for reading only.
    [[nodiscard]] bool OpenForReading(const std::string& path);

    [[nodiscard]] bool Run(const std::string& sql, std::span<const SqlValue> params,
                           std::vector<SqlRow>* rows = nullptr) override;
    [[nodiscard]] bool RunScript(const std::string& sql) override;
    [[nodiscard]] const std::string& LastError() const override { return m_lastError; }

  private:
    struct StatementCloser {
        void operator()(sqlite3_stmt* statement) const;
    };
    using Statement = std::unique_ptr<sqlite3_stmt, StatementCloser>;

    sqlite3_stmt* Prepared(const std::string& sql);
    bool Bind(sqlite3_stmt* statement, std::span<const SqlValue> params);
    bool Fail();

    sqlite3* m_db = nullptr;
    std::map<std::string, Statement> m_statements;
    std::string m_lastError;
};
