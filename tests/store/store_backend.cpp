#include "tests/store/store_backend.h"

#include <libpq-fe.h>
#include <sqlite3.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>

#include "tests/files/temp_folder.h"

namespace {

class SqliteBackend final : public StoreBackend {
  public:
    [[nodiscard]] std::string Url() const override {
        return "sqlite:" + m_folder.File("station.sqlite");
    }
    bool Execute(const std::string& sql) override {
        sqlite3* db = nullptr;
        const bool done = sqlite3_open(m_folder.File("station.sqlite").c_str(), &db) == SQLITE_OK &&
                          sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
        sqlite3_close(db);
        return done;
    }

  private:
    TempFolder m_folder;
};

// A schema of its own per test on the shared server, dropped with everything in it at the
// end; the store finds it through the search path given in the URL. Test scaffolding only:
// the store itself never builds SQL from names.
class PostgresBackend final : public StoreBackend {
  public:
    explicit PostgresBackend(PGconn* admin) : m_admin(admin) {
        PQsetNoticeProcessor(
            m_admin, [](void*, const char*) {}, nullptr);
        static std::atomic<int> serial{0};
        m_schema = "lvcfg_test_" + std::to_string(::getpid()) + "_" + std::to_string(serial++);
        Exec("CREATE SCHEMA " + m_schema);
    }
    ~PostgresBackend() override {
        Exec("DROP SCHEMA IF EXISTS " + m_schema + " CASCADE");
        PQfinish(m_admin);
    }

    [[nodiscard]] std::string Url() const override {
        return "postgresql://?options=-csearch_path%3D" + m_schema +
               "&application_name=" + m_schema;
    }

    bool Execute(const std::string& sql) override {
        return Exec("SET search_path TO " + m_schema + "; " + sql);
    }

    // Waits until the server has ended them, so the store's next statement meets a closed
    // connection every time.
    bool DropConnections() override {
        return Exec(
            "SELECT pg_terminate_backend(pid, 10000) FROM pg_stat_activity WHERE "
            "application_name = '" +
            m_schema + "' AND pid <> pg_backend_pid()");
    }

  private:
    bool Exec(const std::string& sql) {
        // A test may have stopped and restarted the server under this connection.
        if (PQstatus(m_admin) != CONNECTION_OK) {
            PQreset(m_admin);
        }
        PGresult* result = PQexec(m_admin, sql.c_str());
        const ExecStatusType status = PQresultStatus(result);
        PQclear(result);
        return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
    }

    PGconn* m_admin;
    std::string m_schema;
};

}  // namespace

std::unique_ptr<StoreBackend> MakeStoreBackend(BackendKind kind, std::string& skipReason,
                                               std::string& failure) {
    if (kind == BackendKind::Sqlite) {
        return std::make_unique<SqliteBackend>();
    }
    if (std::getenv("PGHOST") == nullptr) {
        skipReason =
            "PGHOST is not set: no PostgreSQL server for this run (scripts/test "
            "starts one with pg_virtualenv)";
        return nullptr;
    }
    PGconn* admin = PQconnectdb("");
    if (PQstatus(admin) != CONNECTION_OK) {
        failure = std::string("cannot reach the PostgreSQL server: ") + PQerrorMessage(admin);
        PQfinish(admin);
        return nullptr;
    }
    return std::make_unique<PostgresBackend>(admin);
}
