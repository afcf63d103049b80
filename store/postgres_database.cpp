#include "store/postgres_database.h"

#include <libpq-fe.h>

#include <memory>

namespace {

struct ResultClearer {
    void operator()(PGresult* result) const { PQclear(result); }
};
using Result = std::unique_ptr<PGresult, ResultClearer>;

bool Succeeded(const PGresult* result) {
    const ExecStatusType status = PQresultStatus(result);
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
}

// libpq ends its messages with a line break; our callers put them into one line.
std::string OneLine(const char* message) {
    std::string text = message != nullptr ? message : "";
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) {
        text.pop_back();
    }
    std::string line;
    for (const char c : text) {
        const bool blank = c == '\n' || c == '\t' || c == ' ';
        if (!blank || (!line.empty() && line.back() != ' ')) {
            line += blank ? ' ' : c;
        }
    }
    return line;
}

}  // namespace

PostgresDatabase::~PostgresDatabase() {
    if (m_connection != nullptr) {
        PQfinish(m_connection);
    }
}

bool PostgresDatabase::Open(const std::string& uri) {
    m_connection = PQconnectdb(uri.c_str());
    if (m_connection == nullptr || PQstatus(m_connection) != CONNECTION_OK) {
        return Fail();
    }
    // Warnings and notices (for example "relation already exists, skipping") are not ours to
    // print: a command's output belongs to the command line.
    PQsetNoticeProcessor(
        m_connection, [](void*, const char*) {}, nullptr);
    return true;
}

std::string PostgresDatabase::ConnectedTo() const {
    const auto part = [](const char* text) { return std::string(text != nullptr ? text : ""); };
    return "postgresql://" + part(PQuser(m_connection)) + "@" + part(PQhost(m_connection)) + ":" +
           part(PQport(m_connection)) + "/" + part(PQdb(m_connection));
}

bool PostgresDatabase::Fail() {
    m_lastError = m_connection != nullptr ? OneLine(PQerrorMessage(m_connection))
                                          : std::string("out of memory");
    if (m_lastError.empty()) {
        m_lastError = "the connection failed";
    }
    return false;
}

bool PostgresDatabase::Run(const std::string& sql, std::span<const SqlValue> params,
                           std::vector<SqlRow>* rows) {
    if (m_connection == nullptr) {
        m_lastError = "the database is not open";
        return false;
    }
    std::vector<std::string> texts(params.size());
    std::vector<const char*> values(params.size(), nullptr);
    for (std::size_t i = 0; i < params.size(); ++i) {
        if (const auto* number = std::get_if<std::int64_t>(&params[i])) {
            texts[i] = std::to_string(*number);
            values[i] = texts[i].c_str();
        } else if (const auto* text = std::get_if<std::string>(&params[i])) {
            values[i] = text->c_str();
        }
    }
    Result result(PQexecParams(m_connection, sql.c_str(), static_cast<int>(params.size()), nullptr,
                               values.data(), nullptr, nullptr, 0));
    if (!result || !Succeeded(result.get())) {
        return Fail();
    }
    if (rows != nullptr) {
        const int count = PQntuples(result.get());
        const int columns = PQnfields(result.get());
        for (int r = 0; r < count; ++r) {
            SqlRow& row = rows->emplace_back();
            for (int c = 0; c < columns; ++c) {
                if (PQgetisnull(result.get(), r, c) != 0) {
                    row.emplace_back();
                } else {
                    row.emplace_back(std::string(PQgetvalue(result.get(), r, c),
                                                 PQgetlength(result.get(), r, c)));
                }
            }
        }
    }
    return true;
}

bool PostgresDatabase::RunScript(const std::string& sql) {
    if (m_connection == nullptr) {
        m_lastError = "the database is not open";
        return false;
    }
    Result result(PQexec(m_connection, sql.c_str()));
    if (!result || !Succeeded(result.get())) {
        return Fail();
    }
    return true;
}
