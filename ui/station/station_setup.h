#pragma once

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
    std::string stationName;
};
