// A station's allocations as a process of its own, for the tests that run several stations at
// once or kill one: allocation_worker URL STATION MODULES [--stop-after-reserve]
//
// Programs MODULES simulated modules: reserve, mark written, verify with a record. Every 7th
// write goes unacknowledged (its MAC goes back, the module tries again) and every 13th
// read-back fails (its MAC stays used). Prints one line per finished module, "verified MAC"
// or "failed MAC", and "returned MAC" for each MAC given back. With --stop-after-reserve it
// reserves one MAC, prints "reserved MAC" and waits to be killed. Like a station's command, it
// first quarantines what its station left unfinished, and fails (exit 6) if that finds any.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "store/open_station_store.h"

namespace {

ProductionRecord RecordFor(const std::string& station, int module, MacNumber mac,
                           const char* outcome, std::optional<bool> verified) {
    ProductionRecord record;
    record.timeStart = 1'700'000'000'000 + module;
    record.timeEnd = record.timeStart + 90;
    record.station = station;
    record.port = "/dev/ttyUSB" + std::to_string(module % 4);
    record.moduleName = "module " + std::to_string(module);
    record.macWritten = std::to_string(mac);
    record.outcome = outcome;
    record.verified = verified;
    return record;
}

int Fail(const std::string& what) {
    std::fprintf(stderr, "allocation_worker: %s\n", what.c_str());
    return 6;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr,
                     "usage: allocation_worker URL STATION MODULES [--stop-after-reserve]\n");
        return 2;
    }
    const std::string station = argv[2];
    const int modules = std::atoi(argv[3]);
    const bool stopAfterReserve = argc > 4 && std::string(argv[4]) == "--stop-after-reserve";
    StoreResult<std::unique_ptr<StationStore>> opened = OpenStationStore(argv[1]);
    if (!opened.Ok()) {
        return Fail(opened.message);
    }
    StationStore& store = *opened.value;
    // As every command that uses the pool begins. Sibling workers under the same station
    // name are running, so nothing of theirs may be quarantined.
    const StoreResult<QuarantineReport> quarantined = store.QuarantineUnfinished(station);
    if (!quarantined.Ok()) {
        return Fail(quarantined.message);
    }
    if (!quarantined.value.quarantined.empty()) {
        return Fail("quarantined a running station's reservation");
    }
    const ReservationRequest request{station, "/dev/ttyUSB0"};
    if (stopAfterReserve) {
        const StoreResult<Reservation> held = store.Reserve(request);
        if (!held.Ok()) {
            return Fail(held.message);
        }
        std::printf("reserved %llu\n", static_cast<unsigned long long>(held.value.mac));
        std::fflush(stdout);
        for (;;) {
            ::pause();
        }
    }
    int attempt = 0;
    for (int module = 0; module < modules; ++attempt) {
        const StoreResult<Reservation> held = store.Reserve(request);
        if (!held.Ok()) {
            return Fail(held.message);
        }
        StoreStatus step;
        const char* ending = "verified";
        if (attempt % 7 == 6) {
            ending = "returned";
            step = store.ReturnToPool(held.value.id,
                                      RecordFor(station, module, held.value.mac, "failed", {}));
        } else if (step = store.MarkWritten(held.value.id); !step.Ok()) {
            return Fail(step.message);
        } else if (attempt % 13 == 12) {
            ending = "failed";
            step = store.KeepUsed(held.value.id,
                                  RecordFor(station, module++, held.value.mac, "failed", false));
        } else {
            step = store.MarkVerified(held.value.id,
                                      RecordFor(station, module++, held.value.mac, "ok", true));
        }
        if (!step.Ok()) {
            return Fail(step.message);
        }
        std::printf("%s %llu\n", ending, static_cast<unsigned long long>(held.value.mac));
    }
    return 0;
}
