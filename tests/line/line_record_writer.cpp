// Adds one production record to a store, as a station would: for the browser test, which
// needs a record that no simulated module makes (a hostile module name).
//   line_record_writer URL STATION MODULE_NAME REASON
#include <chrono>
#include <iostream>

#include "store/open_station_store.h"

int main(int argc, char** argv) {
    if (argc != 5) {
        std::cerr << "usage: line_record_writer URL STATION MODULE_NAME REASON\n";
        return 2;
    }
    auto store = OpenStationStore(argv[1]);
    if (!store.Ok()) {
        std::cerr << store.message << '\n';
        return 6;
    }
    using namespace std::chrono;
    ProductionRecord record;
    record.timeStart = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    record.timeEnd = record.timeStart + 100;
    record.station = argv[2];
    record.port = "/dev/ttyUSB9";
    record.moduleName = argv[3];
    record.reason = argv[4];
    record.outcome = record.reason.empty() ? "ok" : "failed";
    const StoreStatus added = store.value->AddRecord(record);
    if (!added.Ok()) {
        std::cerr << added.message << '\n';
        return 6;
    }
    return 0;
}
