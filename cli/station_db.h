#pragma once

#include <memory>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/output.h"
#include "store/station_store.h"

// Where the production record and the MAC pool live, and the name this station goes by there.
struct StationDbOptions {
    std::string url;      // --station-db or LVCFG_STATION_DB; empty: the default SQLite file
    std::string station;  // --station; empty: the host name
};

// Adds --station-db and --station to `app` (options that every command accepts).
void AddStationDbOptions(CLI::App& app, StationDbOptions& options);

// The station's name in the store: --station, else the host name.
[[nodiscard]] std::string StationName(const StationDbOptions& options);

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

// Quarantines what this station left unfinished when a run of it died, and says so. false
// after reporting a store failure.
[[nodiscard]] bool QuarantineOwnUnfinished(StationStore& store, const StationDbOptions& options,
                                           Output& out);
