#pragma once

#include <string>

#include "store/sql_dialect.h"

// The schema versions of the store, numbered from 1. Version 1 held the pool and a record
// without the port's by-path name and the step durations; version 2 adds them and an index
// for exports by time. Version 3 adds the suspect state with the reason a MAC is held out,
// the MAC a record's frame carried as a number, the rework flag and a note to records, and
// the indexes that find a MAC's reservations and records. Version 4 adds work orders (with
// their .cfg block), the order of ranges, reservations and records, the stations' own rows, and
// the indexes that find a module's records by the MAC it had or was given.
inline constexpr int kCurrentSchemaVersion = 4;

// The statements that take a database from version `version - 1` to `version`.
[[nodiscard]] std::string SchemaStep(const SqlDialect& dialect, int version);
