#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "store/mac_number.h"

// Where one MAC address stands in the pool.
enum class MacState {
    NotInPool,
    Free,         // never handed out, or returned
    Reserved,     // handed to a station, nothing written yet
    Written,      // the module acknowledged the write, the read-back is pending
    Verified,     // written and read back; the module keeps it
    Failed,       // written but the read-back failed; kept used, never handed out again
    Quarantined,  // left unfinished by a station that died; waits for a person to release it
    Suspect,      // a write nobody can tell took or not; waits for a person to release it
};

[[nodiscard]] const char* MacStateName(MacState state);

struct PoolRange {
    MacNumber start = 0;
    std::uint64_t count = 0;
    std::string order{};  // the work order the range belongs to; empty: no order

    bool operator==(const PoolRange&) const = default;
};

// A MAC held out of circulation until a person has checked its module and released it.
struct HeldMac {
    MacNumber mac = 0;
    MacState state = MacState::Quarantined;  // Quarantined or Suspect
    std::string reason;
    std::int64_t since = 0;  // milliseconds since 1970-01-01 UTC

    bool operator==(const HeldMac&) const = default;
};

// The pool at one moment. `reserved` counts reserved and written MACs (allocations in
// progress), `used` counts verified and failed ones; `held` lists the quarantined and suspect
// MACs, lowest first.
struct PoolStatus {
    std::vector<PoolRange> ranges;
    std::uint64_t free = 0;
    std::uint64_t reserved = 0;
    std::uint64_t used = 0;
    std::uint64_t quarantined = 0;
    std::uint64_t suspect = 0;
    std::vector<HeldMac> held;
};
