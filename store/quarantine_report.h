#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "store/mac_number.h"

// An unfinished reservation of a station that was made on another host.
struct ForeignReservation {
    MacNumber mac = 0;
    std::string host;
    std::int64_t pid = 0;
    std::int64_t ageMs = 0;

    bool operator==(const ForeignReservation&) const = default;
};

// What a station's start found of its unfinished reservations.
struct QuarantineReport {
    std::vector<MacNumber> quarantined;  // this host's, left by processes that have gone
    std::vector<ForeignReservation> otherHosts;
};
