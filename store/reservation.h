#pragma once

#include <cstdint>
#include <string>

#include "store/mac_number.h"

// Who asks for a MAC: the station's name and the port the module sits on, and the order the
// module is programmed for (none: no order).
struct ReservationRequest {
    std::string station;
    std::string port;
    std::string order{};
};

// A MAC held for one module. The id names this hold alone: a MAC that comes back to the pool
// and goes out again gets a new id, so a late step on an old hold cannot touch the new one.
struct Reservation {
    std::int64_t id = 0;
    MacNumber mac = 0;
};
