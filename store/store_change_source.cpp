#include "store/store_change_source.h"

#include <libpq-fe.h>

#include <array>
#include <filesystem>

#include "store/holder_process.h"
#include "store/open_station_store.h"
#include "store/sql_dialect.h"
#include "store/sqlite_database.h"

namespace {

// Asks the file's data version, which moves whenever another connection commits.
class SqliteChangePoll final : public StoreChangeSource {
  public:
    explicit SqliteChangePoll(const std::string& path)
        : m_where{"sqlite", CurrentHolderProcess().host,
                  std::filesystem::path(path).filename().string()} {}

    StoreStatus Open(const std::string& path) {
        if (!m_database.OpenForReading(path)) {
            return Failure();
        }
        StoreResult<bool> first = Changed();
        return {first.outcome, first.message};
    }

    [[nodiscard]] int Descriptor() const override { return -1; }

    StoreResult<bool> Changed() override {
        std::vector<SqlRow> rows;
        if (!m_database.Run("PRAGMA data_version", {}, &rows) || rows.empty() || rows[0].empty() ||
            !rows[0][0]) {
            return Failure();
        }
        const bool changed = *rows[0][0] != m_version;
        m_version = *rows[0][0];
        return changed;
    }

    [[nodiscard]] const StoreWhereabouts& Where() const override { return m_where; }

  private:
    StoreStatus Failure() const {
        return StoreFailure(StoreOutcome::DatabaseFailed,
                            "cannot watch the station database: " + m_database.LastError());
    }

    SqliteDatabase m_database;
    std::string m_version;
    StoreWhereabouts m_where;
};

// Listens for the records the store announces, on a connection that does nothing else.
class PostgresChangeListener final : public StoreChangeSource {
  public:
    ~PostgresChangeListener() override {
        if (m_connection != nullptr) {
            PQfinish(m_connection);
        }
    }

    StoreStatus Open(const std::string& uri) {
        m_connection = PQconnectdb(uri.c_str());
        if (PQstatus(m_connection) != CONNECTION_OK) {
            return Failure();
        }
        PGresult* listening = PQexec(m_connection, PostgresDialect().listenRecords);
        const bool ok = PQresultStatus(listening) == PGRES_COMMAND_OK;
        PQclear(listening);
        if (!ok || PQsetnonblocking(m_connection, 1) != 0) {
            return Failure();
        }
        // A socket folder stands for this host.
        const std::string host = PQhost(m_connection) != nullptr ? PQhost(m_connection) : "";
        m_where = {"postgresql", host.empty() || host[0] == '/' ? "localhost" : host,
                   PQdb(m_connection) != nullptr ? PQdb(m_connection) : ""};
        return {};
    }

    [[nodiscard]] int Descriptor() const override { return PQsocket(m_connection); }

    StoreResult<bool> Changed() override {
        if (PQconsumeInput(m_connection) == 0) {
            return Failure();
        }
        bool changed = false;
        while (PGnotify* notice = PQnotifies(m_connection)) {
            PQfreemem(notice);
            changed = true;
        }
        return changed;
    }

    [[nodiscard]] const StoreWhereabouts& Where() const override { return m_where; }

  private:
    StoreStatus Failure() const {
        std::string why = m_connection != nullptr ? PQerrorMessage(m_connection) : "";
        while (!why.empty() && (why.back() == '\n' || why.back() == ' ')) {
            why.pop_back();
        }
        return StoreFailure(StoreOutcome::DatabaseFailed,
                            "cannot listen to the station database: " + why);
    }

    pg_conn* m_connection = nullptr;
    StoreWhereabouts m_where;
};

}  // namespace

StoreResult<std::unique_ptr<StoreChangeSource>> OpenStoreChangeSource(const std::string& url) {
    StoreResult<StoreLocation> location = StoreLocationOf(url);
    if (!location.Ok()) {
        return StoreFailure(location.outcome, location.message);
    }
    if (location.value.kind == StoreKind::Postgres) {
        auto listener = std::make_unique<PostgresChangeListener>();
        if (StoreStatus opened = listener->Open(location.value.target); !opened.Ok()) {
            return opened;
        }
        return std::unique_ptr<StoreChangeSource>(std::move(listener));
    }
    auto poll = std::make_unique<SqliteChangePoll>(location.value.target);
    if (StoreStatus opened = poll->Open(location.value.target); !opened.Ok()) {
        return opened;
    }
    return std::unique_ptr<StoreChangeSource>(std::move(poll));
}
