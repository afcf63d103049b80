#pragma once

// What differs between the SQL of the two backends. Everything else is written once, in
// sql_station_*.cpp and station_schema.cpp.
struct SqlDialect {
    const char* name;
    // Opens a transaction that may write.
    const char* beginWrite;
    // Opens a transaction that may write and whose commit need not reach the disk at once,
    // and what restores full durability once it has ended. Used for the steps after a
    // reservation and for records: a power cut may lose the latest of them, but never a
    // reservation, which each later durable commit carries to disk with it; a reservation
    // whose later steps were lost is quarantined, never handed out again.
    const char* beginRelaxed;
    const char* endRelaxed;
    // Opens a transaction that only reads, all of it from one snapshot.
    const char* beginRead;
    // Run first in a transaction that changes the schema, so that concurrent first starts
    // create it once; empty where beginWrite already locks the whole database.
    const char* serialiseSchemaChange;
    // Run first in a transaction that adds a range, so that two adds cannot both pass the
    // overlap check; empty where beginWrite already locks.
    const char* serialiseRangeChange;
    // Run first in a transaction that holds a MAC outside the pool, so that two stations
    // cannot both find it unsent; empty where beginWrite already locks.
    const char* serialiseOutsidePool;
    // Appended to a SELECT that picks a returned MAC to hand out.
    const char* skipLockedRows;
    // Appended to a SELECT that picks the range to take a fresh MAC from.
    const char* lockRows;
    // Appended to the SELECT of a station's unfinished reservations (pool_mac as m).
    const char* lockPoolMacRows;
    // One row when the table named $1 exists.
    const char* tableExists;
    // Run with a new record's id as $1 in the transaction that stores it, to tell those who
    // listen for changes; empty where listeners find changes by polling.
    const char* announceRecord;
    // Run with a station's name as $1 in the transaction that refreshes its row.
    const char* announceStation;
    // What a listening connection runs to hear those announcements (records and stations).
    const char* listenRecords;
    // Schema column types: a generated primary key, and a 64-bit integer.
    const char* generatedKey;
    const char* integer;
};

[[nodiscard]] const SqlDialect& SqliteDialect();
[[nodiscard]] const SqlDialect& PostgresDialect();
