// What the store adds to each module a station programs: reserve a MAC, mark it written, mark
// it verified with the production record, on each backend. Reported per module and as a share
// of the module's wire time:
//   store_ms    milliseconds per module for the three steps
//   of_wire_pct store_ms / 90.6 ms (a Write's bytes at 115200 bit/s), in per cent
// The same for the modules of a work order, whose reservation also counts the order's verified
// and in-flight modules under a lock of its row, and whose verification may complete it; the
// difference of the two rows is what the order's count costs. And a station's refresh of its
// row, every kStationRefreshIntervalMs beside the ports:
//   refresh_ms       milliseconds per refresh
//   per_module_pct   its share of a module's wire time when the station programs one module
//                    after another: refresh_ms / kStationRefreshIntervalMs, in per cent
// The PostgreSQL rows need a server named by PGHOST/PGPORT/PGUSER (pg_virtualenv gives one).

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>

#include "store/open_station_store.h"
#include "tests/store/store_backend.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kWireMsPerModule = 90.6;

ProductionRecord RecordOf(std::int64_t module) {
    ProductionRecord record;
    record.timeStart = 1772352902047 + module * 1000;
    record.timeEnd = record.timeStart + 850;
    record.station = "bench";
    record.port = "/dev/ttyUSB0";
    record.portByPath = "/dev/serial/by-path/pci-0000:00:14.0-usb-0:2:1.0-port0";
    record.moduleName = "KTR5520Q";
    record.moduleVersion = "V2.1";
    record.moduleType = "node";
    record.macBefore = "4E 5F 1A 2B 00 00";
    record.macWritten = "4E 5F 1A 2B 00 01";
    record.configFile = "line.cfg";
    record.configSha256 = std::string(64, 'a');
    record.outcome = "ok";
    record.reason = "written";
    record.verified = true;
    record.readMs = 611;
    record.writeMs = 93;
    record.verifyMs = 604;
    return record;
}

constexpr const char* kOrder = "WO-bench";

NewOrder BenchOrder() {
    return {kOrder,  std::string(2 * 518, 'a'), std::string(64, 'f'), "line.cfg",
            "bench", std::int64_t{1} << 40};
}

// A fresh store on `kind` for one benchmark; nothing, with the benchmark skipped, without one.
std::unique_ptr<StationStore> OpenBenchStore(benchmark::State& state, BackendKind kind,
                                             std::unique_ptr<StoreBackend>& backend) {
    std::string skipReason;
    std::string failure;
    backend = MakeStoreBackend(kind, skipReason, failure);
    if (!backend) {
        state.SkipWithError((skipReason + failure).c_str());
        return nullptr;
    }
    auto opened = OpenStationStore(backend->Url());
    if (!opened.Ok()) {
        state.SkipWithError(opened.message.c_str());
    }
    return std::move(opened.value);
}

void AllocateAndRecord(benchmark::State& state, BackendKind kind, bool forOrder) {
    std::unique_ptr<StoreBackend> backend;
    std::unique_ptr<StationStore> opened = OpenBenchStore(state, kind, backend);
    if (!opened) {
        return;
    }
    if (!opened->AddRange(0x4E5F00000000, 1 << 24).Ok() ||
        (forOrder && !opened->CreateOrder(BenchOrder()).Ok())) {
        state.SkipWithError("the pool or the order could not be made");
        return;
    }
    StationStore& store = *opened;
    const ReservationRequest request{"bench", "/dev/ttyUSB0", forOrder ? kOrder : ""};
    std::int64_t modules = 0;
    const auto start = Clock::now();
    for (auto _ : state) {
        const auto held = store.Reserve(request);
        ProductionRecord record = RecordOf(modules);
        record.order = request.order;
        if (!held.Ok() || !store.MarkWritten(held.value.id).Ok() ||
            !store.MarkVerified(held.value.id, record).Ok()) {
            state.SkipWithError("a store step failed");
            return;
        }
        ++modules;
    }
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    const double perModule = modules > 0 ? ms / static_cast<double>(modules) : 0.0;
    state.counters["store_ms"] = perModule;
    state.counters["of_wire_pct"] = 100.0 * perModule / kWireMsPerModule;
}

void RefreshStationRow(benchmark::State& state, BackendKind kind) {
    std::unique_ptr<StoreBackend> backend;
    std::unique_ptr<StationStore> opened = OpenBenchStore(state, kind, backend);
    if (!opened) {
        return;
    }
    StationRow row{"bench",
                   "host",
                   "lvcfg-cli batch",
                   "1.6",
                   kOrder,
                   StationState::Running,
                   1772352902047,
                   0,
                   0,
                   0,
                   "",
                   0};
    std::int64_t refreshes = 0;
    const auto start = Clock::now();
    for (auto _ : state) {
        row.lastSeenMs = row.startedMs + refreshes * kStationRefreshIntervalMs;
        row.done = refreshes++;
        if (!opened->KeepStationRow(row).Ok()) {
            state.SkipWithError("a refresh failed");
            return;
        }
    }
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    const double perRefresh = refreshes > 0 ? ms / static_cast<double>(refreshes) : 0.0;
    state.counters["refresh_ms"] = perRefresh;
    state.counters["per_module_pct"] =
        100.0 * perRefresh / static_cast<double>(kStationRefreshIntervalMs);
}

BENCHMARK_CAPTURE(AllocateAndRecord, SQLite, BackendKind::Sqlite, false)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);
BENCHMARK_CAPTURE(AllocateAndRecord, SQLiteOrder, BackendKind::Sqlite, true)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);
BENCHMARK_CAPTURE(AllocateAndRecord, PostgreSQL, BackendKind::Postgres, false)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);
BENCHMARK_CAPTURE(AllocateAndRecord, PostgreSQLOrder, BackendKind::Postgres, true)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);
BENCHMARK_CAPTURE(RefreshStationRow, SQLite, BackendKind::Sqlite)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0);
BENCHMARK_CAPTURE(RefreshStationRow, PostgreSQL, BackendKind::Postgres)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0);

}  // namespace

BENCHMARK_MAIN();
