#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <variant>
#include <vector>

// A value bound to a statement parameter: NULL, an integer or a text.
using SqlValue = std::variant<std::monostate, std::int64_t, std::string>;
// One result row, every column as text (NULL as nothing).
using SqlRow = std::vector<std::optional<std::string>>;

// One connection to a database, as the store needs it. Statements name their parameters
// $1, $2, ... in both backends, and values are only ever bound, never spliced into the text.
class SqlDatabase {
  public:
    virtual ~SqlDatabase() = default;

    // Runs one statement; its rows, if any, go to `rows` when given. false on any failure,
    // with the reason in LastError().
    [[nodiscard]] virtual bool Run(const std::string& sql, std::span<const SqlValue> params,
                                   std::vector<SqlRow>* rows = nullptr) = 0;
    // Runs statements without parameters (schema steps).
    [[nodiscard]] virtual bool RunScript(const std::string& sql) = 0;
    [[nodiscard]] virtual const std::string& LastError() const = 0;
};

// Commits only when asked; rolls back when it goes without a commit, on every path. `endSql`,
// when given, runs once the transaction has ended either way.
class SqlTransaction {
  public:
    SqlTransaction(SqlDatabase& database, const std::string& beginSql,
                   std::string endSql = std::string())
        : m_database(database), m_endSql(std::move(endSql)), m_open(database.RunScript(beginSql)) {}
    ~SqlTransaction() {
        if (m_open) {
            (void)m_database.RunScript("ROLLBACK");
        }
        if (!m_endSql.empty()) {
            (void)m_database.RunScript(m_endSql);
        }
    }
    SqlTransaction(const SqlTransaction&) = delete;
    SqlTransaction& operator=(const SqlTransaction&) = delete;

    [[nodiscard]] bool IsOpen() const { return m_open; }
    // A COMMIT that fails may leave the transaction open (SQLite keeps it open when a
    // deferred constraint or a busy file refuses it): it is rolled back then, so the next
    // transaction does not fail inside this one and nothing half-done lingers.
    [[nodiscard]] bool Commit() {
        if (!m_open) {
            return false;
        }
        m_open = !m_database.RunScript("COMMIT");
        return !m_open;
    }

  private:
    SqlDatabase& m_database;
    std::string m_endSql;
    bool m_open;
};
