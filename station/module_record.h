#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "model/mac_address.h"
#include "station/windowless_program.h"
#include "store/production_record.h"

// Where and when one module was programmed, as the record keeps it beside the job's result.
struct ModuleAttempt {
    std::string station;
    std::string port;        // the device programmed
    std::string portByPath;  // its stable /dev/serial/by-path name, empty when it has none
    std::string configFile;
    std::int64_t timeStart = 0;  // milliseconds since 1970-01-01 UTC
    std::int64_t timeEnd = 0;
    std::optional<MacAddress> mac;  // the MAC given to the module; nothing: it kept its own
    bool verify = true;
};

// The production record of a finished job: outcome "ok" or "failed" with the job's reason word,
// the module as read before programming, the MAC it was given, the fingerprint of the block
// sent once the module acknowledged it, and the time of each step that ran.
[[nodiscard]] ProductionRecord RecordOfJob(const ModuleAttempt& attempt,
                                           const ModuleJobResult& result);

// Milliseconds since 1970-01-01 UTC now, the record's clock.
[[nodiscard]] std::int64_t RecordClockNow();
