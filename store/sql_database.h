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

    // How many SqlTransactions are open on the connection; inside one, another is a savepoint.
    int openTransactions = 0;
};

// Commits only when asked; rolls back when it goes without a commit, on every path. `endSql`,
// when given, runs once the transaction has ended either way. Inside another transaction on
// the same connection it is a savepoint of it (its begin and end texts unused): it commits
// into the outer one or rolls back only its own work.
class SqlTransaction {
  public:
    SqlTransaction(SqlDatabase& database, const std::string& beginSql,
                   std::string endSql = std::string())
        : m_database(database),
          m_nested(database.openTransactions > 0),
          m_endSql(m_nested ? std::string() : std::move(endSql)),
          m_open(database.RunScript(m_nested ? "SAVEPOINT step" : beginSql)) {
        database.openTransactions += m_open ? 1 : 0;
    }
    ~SqlTransaction() {
        if (m_open) {
            (void)m_database.RunScript(m_nested ? "ROLLBACK TO step; RELEASE step" : "ROLLBACK");
            --m_database.openTransactions;
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
        m_open = !m_database.RunScript(m_nested ? "RELEASE step" : "COMMIT");
        m_database.openTransactions -= m_open ? 0 : 1;
        return !m_open;
    }

  private:
    SqlDatabase& m_database;
    const bool m_nested;
    std::string m_endSql;
    bool m_open;
};
