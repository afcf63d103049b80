#include "station/station_name.h"

#include "store/holder_process.h"

std::string DefaultStationName() {
    const std::string host = CurrentHolderProcess().host;
    return host.empty() ? "localhost" : host;
}

std::string StationNameOr(const std::string& given) {
    return given.empty() ? DefaultStationName() : given;
}
