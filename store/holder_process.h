#pragma once

#include <cstdint>
#include <string>

// The process that holds a reservation: its host and process id. Lets a station tell its own
// reservations left by a process that has died from those of a sibling that still runs.
struct HolderProcess {
    std::string host;
    std::int64_t pid = 0;
};

[[nodiscard]] HolderProcess CurrentHolderProcess();

// true when `holder` runs on this host and is alive. A holder on another host cannot be
// asked, so it counts as gone: a station quarantines only reservations made under its name.
[[nodiscard]] bool HolderIsRunning(const HolderProcess& holder);
