#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "store/mac_number.h"

// One attempt to program one module, as the station saw it. Times are milliseconds since
// 1970-01-01 UTC; a step that did not run has no duration, and no verification result when
// the read-back did not run. MACs are kept in the text form the station showed; the MAC of a
// frame that went out is kept as a number too, for looking modules up by MAC.
struct ProductionRecord {
    std::int64_t timeStart = 0;
    std::int64_t timeEnd = 0;
    std::string station;
    std::string port;
    std::string portByPath;
    std::string moduleName;
    std::string moduleVersion;
    std::string moduleType;
    std::string macBefore;
    std::string macWritten;
    std::optional<MacNumber> macSent;
    std::string configFile;
    std::string configSha256;  // of the 512-byte block sent, MAC included
    std::string outcome;
    std::string reason;
    std::optional<bool> verified;
    std::optional<std::int64_t> readMs;
    std::optional<std::int64_t> writeMs;
    std::optional<std::int64_t> verifyMs;
    bool rework = false;  // a module programmed before, written again keeping its MAC
    std::string note;     // what else a person should know ("acknowledgement lost")
    std::string order;    // the work order the module was programmed for; empty: none

    bool operator==(const ProductionRecord&) const = default;
};
