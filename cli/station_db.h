#pragma once

#include <memory>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/exit_codes.h"
#include "cli/output.h"
#include "station/serialized_station_store.h"
#include "store/station_store.h"

// Where the production record and the MAC pool live, and the name this station goes by there.
struct StationDbOptions {
    std::string url;      // --station-db or LVCFG_STATION_DB; empty: the default SQLite file
    std::string station;  // --station; empty: the host name
};

// Adds --station-db and --station to `app` (options that every command accepts).
void AddStationDbOptions(CLI::App& app, StationDbOptions& options);

// The store as messages may name it: the URL without a password, or the default file.
[[nodiscard]] std::string StationDbShown(const StationDbOptions& options);

// Opens the store (creating or upgrading its schema). A store that does not open is reported
// and gives nothing; its exit code is ExitCode::StoreFailed.
[[nodiscard]] std::unique_ptr<StationStore> OpenStationDbReporting(const StationDbOptions& options,
                                                                   Output& out);

// The store's word for `outcome` as the command line's reason words are written
// ("range_overlaps").
[[nodiscard]] std::string StoreReasonWord(StoreOutcome outcome);

// Reports a failed store step: {"event":"failed","reason":"store_failed"|"pool_empty",...}.
void ReportStoreFailure(Output& out, const StationDbOptions& options, const StoreStatus& status);

// The store for a production run, safe for its programming threads.
[[nodiscard]] std::unique_ptr<SerializedStationStore> OpenRunStoreReporting(
    const StationDbOptions& options, Output& out);

// Tells what a run's start found of this station's unfinished reservations: those quarantined,
// and those held on other hosts (left alone).
void ReportQuarantine(Output& out, const std::string& station, const QuarantineReport& report);

// Tells why a run (or an order's step) did not start: a MAC that may not be used, an unknown,
// existing, complete or closed order (exit 2), an order's block that fails a .cfg file's checks
// (exit 4), or the store (exit 6).
[[nodiscard]] ExitCode ReportRunRefused(Output& out, const StationDbOptions& options,
                                        const StoreStatus& refusal);
