#pragma once

#include <cstdint>
#include <string>

#include "station/module_attempt.h"
#include "store/production_record.h"

// Where and when one module was programmed, as the record keeps it beside the attempt's result.
struct AttemptContext {
    std::string station;
    std::string port;        // the device programmed
    std::string portByPath;  // its whole /dev/serial/by-path name, empty when it has none
    std::string configFile;
    std::string order;           // the work order programmed; empty: none
    std::int64_t timeStart = 0;  // milliseconds since 1970-01-01 UTC
    std::int64_t timeEnd = 0;
    bool verify = true;
};

// The production record of one attempt, the one rule every production program keeps:
// outcome "ok", "skipped" (programmed before, not written) or "failed" with the reason word;
// the module as read before programming, its name escaped where it is no text; the MAC of the
// frame once any of it went out (as a number too when the line gave it, not when the module
// kept its own); the fingerprint of the block and the verification once the
// module took the frame; rework, a lost acknowledgement or a suspect MAC in its note; and the
// time of each step that ran.
[[nodiscard]] ProductionRecord RecordOfAttempt(const AttemptContext& context,
                                               const AttemptResult& result);
