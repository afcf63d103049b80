#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "model/mac_address.h"
#include "station/windowless_program.h"
#include "store/production_record.h"

// What the command line knows of one module attempt beside the job's own result.
struct AttemptContext {
    std::string station;
    std::string port;            // as given
    std::string configFile;      // as given
    std::int64_t timeStart = 0;  // milliseconds since 1970-01-01 UTC
    std::int64_t timeEnd = 0;
    bool verify = true;
};

// The production record of a programming job: the module as read, the MAC written and the
// fingerprint of the block it acknowledged, how it ended, and how long each step took.
[[nodiscard]] ProductionRecord RecordOfJob(const AttemptContext& context,
                                           const ModuleJobResult& result);

// Now, in milliseconds since 1970-01-01 UTC.
[[nodiscard]] std::int64_t NowMilliseconds();
