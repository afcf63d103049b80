#pragma once

#include <string>

#include "store/sql_dialect.h"

// The schema versions of the store, numbered from 1. Version 1 held the pool and a record
// without the port's by-path name and the step durations; version 2 adds them and an index
// for exports by time.
inline constexpr int kCurrentSchemaVersion = 2;

// The statements that take a database from version `version - 1` to `version`.
[[nodiscard]] std::string SchemaStep(const SqlDialect& dialect, int version);
