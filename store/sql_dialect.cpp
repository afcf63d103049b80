#include "store/sql_dialect.h"

const SqlDialect& SqliteDialect() {
    // BEGIN IMMEDIATE takes the database's write lock at once, so every transaction that may
    // write holds it from its first read on: no two stations read the same pool state.
    static const SqlDialect dialect{
        .name = "SQLite",
        .beginWrite = "BEGIN IMMEDIATE",
        .beginRelaxed = "PRAGMA synchronous = NORMAL; BEGIN IMMEDIATE",
        .endRelaxed = "PRAGMA synchronous = FULL",
        .beginRead = "BEGIN",
        .serialiseSchemaChange = "",
        .serialiseRangeChange = "",
        .serialiseOutsidePool = "",
        .skipLockedRows = "",
        .lockRows = "",
        .lockPoolMacRows = "",
        .tableExists = "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = $1",
        .announceRecord = "",
        .announceStation = "",
        .listenRecords = "",
        .generatedKey = "INTEGER PRIMARY KEY AUTOINCREMENT",
        .integer = "INTEGER",
    };
    return dialect;
}

const SqlDialect& PostgresDialect() {
    // Rows are locked where they are picked; a returned MAC held by another transaction is
    // skipped rather than waited for, the range row is waited for.
    static const SqlDialect dialect{
        .name = "PostgreSQL",
        .beginWrite = "BEGIN",
        .beginRelaxed = "BEGIN; SET LOCAL synchronous_commit = off",
        .endRelaxed = "",
        .beginRead = "BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY",
        .serialiseSchemaChange = "SELECT pg_advisory_xact_lock(7716053)",
        .serialiseRangeChange = "LOCK TABLE pool_range IN SHARE ROW EXCLUSIVE MODE",
        .serialiseOutsidePool = "SELECT pg_advisory_xact_lock(7716054)",
        .skipLockedRows = " FOR UPDATE SKIP LOCKED",
        .lockRows = " FOR UPDATE",
        .lockPoolMacRows = " FOR UPDATE OF m",
        .tableExists = "SELECT 1 WHERE to_regclass($1) IS NOT NULL",
        .announceRecord = "SELECT pg_notify('lvcfg_record', $1)",
        .announceStation = "SELECT pg_notify('lvcfg_station', $1)",
        .listenRecords = "LISTEN lvcfg_record; LISTEN lvcfg_station",
        .generatedKey = "BIGINT GENERATED ALWAYS AS IDENTITY PRIMARY KEY",
        .integer = "BIGINT",
    };
    return dialect;
}
