#pragma once

#include <string>

// The name a station goes by in the record and the pool when it is given none: the host name
// ("localhost" when the host has none).
[[nodiscard]] std::string DefaultStationName();

// `given`, or the default name when it is empty.
[[nodiscard]] std::string StationNameOr(const std::string& given);
