#pragma once

#include <cstdint>
#include <optional>
#include <string>

// One attempt to program one module, as the station saw it. Times are milliseconds since
// 1970-01-01 UTC; a step that did not run has no duration, and no verification result when
// the read-back did not run. MACs are kept in the text form the station showed.
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
    std::string configFile;
    std::string configSha256;  // of the 512-byte block sent, MAC included
    std::string outcome;
    std::string reason;
    std::optional<bool> verified;
    std::optional<std::int64_t> readMs;
    std::optional<std::int64_t> writeMs;
    std::optional<std::int64_t> verifyMs;

    bool operator==(const ProductionRecord&) const = default;
};
