#pragma once

#include <cstdint>
#include <string>

#include "store/mac_number.h"

// Where and when a module holding a MAC was programmed, as the store remembers it.
struct ProgrammedMac {
    MacNumber mac = 0;
    std::string station;
    std::string port;
    std::int64_t when = 0;  // milliseconds since 1970-01-01 UTC

    bool operator==(const ProgrammedMac&) const = default;
};
