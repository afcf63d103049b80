#include "store/sqlite_database.h"

#include <sqlite3.h>

#include "store/sqlite_file_locks.h"

namespace {

// Long enough to wait out the other stations' allocations, which hold the write lock for a
// millisecond or so each.
constexpr int kBusyTimeoutMs = 60000;

}  // namespace

void SqliteDatabase::StatementCloser::operator()(sqlite3_stmt* statement) const {
    sqlite3_finalize(statement);
}

SqliteDatabase::~SqliteDatabase() {
    m_statements.clear();
    if (m_db != nullptr) {
        sqlite3_close(m_db);
    }
}

bool SqliteDatabase::Open(const std::string& path) {
    (void)UseOpenFileDescriptionLocks();
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    if (sqlite3_open_v2(path.c_str(), &m_db, flags, nullptr) != SQLITE_OK) {
        return Fail();
    }
    if (sqlite3_db_readonly(m_db, "main") != 0) {
        m_lastError = "the database file is read-only";
        return false;
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
    return true;
}

bool SqliteDatabase::OpenForReading(const std::string& path) {
    if (sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        return Fail();
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
    return true;
}

bool SqliteDatabase::Fail() {
    m_lastError = m_db != nullptr ? sqlite3_errmsg(m_db) : "out of memory";
    return false;
}

sqlite3_stmt* SqliteDatabase::Prepared(const std::string& sql) {
    auto found = m_statements.find(sql);
    if (found != m_statements.end()) {
        return found->second.get();
    }
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v3(m_db, sql.c_str(), static_cast<int>(sql.size() + 1),
                           SQLITE_PREPARE_PERSISTENT, &statement, nullptr) != SQLITE_OK) {
        Fail();
        return nullptr;
    }
    m_statements.emplace(sql, Statement(statement));
    return statement;
}

bool SqliteDatabase::Bind(sqlite3_stmt* statement, std::span<const SqlValue> params) {
    for (std::size_t i = 0; i < params.size(); ++i) {
        // Parameters are named $1, $2, ...; binding by name keeps their order in the text free.
        const std::string name = "$" + std::to_string(i + 1);
        const int index = sqlite3_bind_parameter_index(statement, name.c_str());
        if (index == 0) {
            continue;
        }
        int result = SQLITE_OK;
        if (const auto* number = std::get_if<std::int64_t>(&params[i])) {
            result = sqlite3_bind_int64(statement, index, *number);
        } else if (const auto* text = std::get_if<std::string>(&params[i])) {
            result = sqlite3_bind_text(statement, index, text->data(),
                                       static_cast<int>(text->size()), SQLITE_TRANSIENT);
        } else {
            result = sqlite3_bind_null(statement, index);
        }
        if (result != SQLITE_OK) {
            return Fail();
        }
    }
    return true;
}

bool SqliteDatabase::Run(const std::string& sql, std::span<const SqlValue> params,
                         std::vector<SqlRow>* rows) {
    if (m_db == nullptr) {
        m_lastError = "the database is not open";
        return false;
    }
    sqlite3_stmt* statement = Prepared(sql);
    if (statement == nullptr) {
        return false;
    }
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    if (!Bind(statement, params)) {
        return false;
    }
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
        if (rows == nullptr) {
            continue;
        }
        SqlRow& row = rows->emplace_back();
        const int columns = sqlite3_column_count(statement);
        for (int column = 0; column < columns; ++column) {
            const auto* text = sqlite3_column_text(statement, column);
            if (text == nullptr) {
                row.emplace_back();
            } else {
                row.emplace_back(std::string(reinterpret_cast<const char*>(text),
                                             sqlite3_column_bytes(statement, column)));
            }
        }
    }
    const bool done = step == SQLITE_DONE;
    if (!done) {
        Fail();
    }
    sqlite3_reset(statement);
    return done;
}

bool SqliteDatabase::RunScript(const std::string& sql) {
    if (m_db == nullptr) {
        m_lastError = "the database is not open";
        return false;
    }
    char* error = nullptr;
    if (sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        m_lastError = error != nullptr ? error : sqlite3_errmsg(m_db);
        sqlite3_free(error);
        return false;
    }
    return true;
}
