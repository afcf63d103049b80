#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "model/config_settings.h"
#include "model/mac_address.h"

// What the set-up strip asks for before a run.
struct StationSetup {
    std::string configPath;
    std::optional<ConfigSettings> settings;  // nothing until a .cfg file has loaded
    bool macsFromPool = true;
    std::optional<MacAddress> startMac;  // the first MAC without the pool
    bool verify = true;
    bool rework = false;  // write modules programmed before again, keeping their MAC
    std::chrono::milliseconds ackTimeout{1000};
    std::string stationName;
    std::string order;  // the work order to program, its block from the store; empty: the file
};
