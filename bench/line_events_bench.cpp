// lvcfg-line under load: 100 viewers on /api/events while 4 stations add records to the store.
// Reports whether every viewer heard of every record, the time from a record's commit to its
// event at the viewers, /api/summary's answer time meanwhile, and the server's memory with
// and without the viewers. Runs on SQLite, and on PostgreSQL where PGHOST names a server
// (pg_virtualenv -t -v 15 build/bench/lvcfg_bench_line).
//
//   lvcfg_bench_line [VIEWERS [RECORDS_PER_STATION]]
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "store/open_station_store.h"
#include "tests/line/line_server_rig.h"
#include "tests/store/store_backend.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kStations = 4;
constexpr auto kBetweenRecords = std::chrono::milliseconds(100);

double Ms(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

double Percentile(std::vector<double> values, double share) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(share * static_cast<double>(values.size() - 1))];
}

long ResidentKb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

struct Heard {
    std::map<std::int64_t, Clock::time_point> first;  // record id -> when this viewer heard
};

void RunOn(BackendKind kind, int viewers, int recordsPerStation) {
    std::string skip, failure;
    const auto backend = MakeStoreBackend(kind, skip, failure);
    const char* name = kind == BackendKind::Sqlite ? "SQLite" : "PostgreSQL";
    if (!backend) {
        std::printf("%s: skipped (%s%s)\n", name, skip.c_str(), failure.c_str());
        return;
    }
    auto writer0 = OpenStationStore(backend->Url());
    if (!writer0.Ok()) {
        std::printf("%s: %s\n", name, writer0.message.c_str());
        return;
    }
    LineServer server(backend->Url(), {"--max-viewers", std::to_string(viewers + 10)});
    if (!server.Started()) {
        std::printf("%s: lvcfg-line did not start\n", name);
        return;
    }
    const long idleKb = ResidentKb(server.Pid());

    std::vector<Heard> heard(static_cast<std::size_t>(viewers));
    std::vector<std::thread> viewerThreads;
    std::atomic<int> listening{0};
    std::atomic<bool> writing{true};
    for (int v = 0; v < viewers; ++v) {
        viewerThreads.emplace_back([&, v] {
            EventStream stream(server.Port());
            (void)stream.Next();  // hello
            ++listening;
            for (;;) {
                const ServerEvent event = stream.Next();
                if (event.type.empty()) {
                    if (!writing) {
                        return;
                    }
                    continue;
                }
                const auto now = Clock::now();
                const auto data = nlohmann::json::parse(event.data);
                for (const auto& id : data["records"]) {
                    heard[static_cast<std::size_t>(v)].first.emplace(id.get<std::int64_t>(), now);
                }
            }
        });
    }
    while (listening < viewers) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const long viewersKb = ResidentKb(server.Pid());

    // Each station writes its records; a record's module name says who wrote it when.
    std::mutex committedMutex;
    std::map<std::string, Clock::time_point> committed;
    std::vector<std::thread> stations;
    for (int s = 0; s < kStations; ++s) {
        stations.emplace_back([&, s] {
            auto store = OpenStationStore(backend->Url());
            for (int r = 0; r < recordsPerStation && store.Ok(); ++r) {
                ProductionRecord record;
                record.timeStart = std::chrono::duration_cast<std::chrono::milliseconds>(
                                       std::chrono::system_clock::now().time_since_epoch())
                                       .count();
                record.timeEnd = record.timeStart + 100;
                record.station = "station-" + std::to_string(s);
                record.moduleName = record.station + "/" + std::to_string(r);
                record.outcome = r % 10 == 9 ? "failed" : "ok";
                record.reason = r % 10 == 9 ? "no_answer" : "";
                if (store.value->AddRecord(record).Ok()) {
                    const std::lock_guard lock(committedMutex);
                    committed[record.moduleName] = Clock::now();
                }
                std::this_thread::sleep_for(kBetweenRecords);
            }
        });
    }
    std::vector<double> summaryMs;
    std::thread asker([&] {
        while (writing) {
            const auto start = Clock::now();
            if (server.Get("/api/summary").status == 200) {
                summaryMs.push_back(Ms(Clock::now() - start));
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    for (auto& station : stations) {
        station.join();
    }
    std::this_thread::sleep_for(std::chrono::seconds(2));  // the last events arrive
    const long busyKb = ResidentKb(server.Pid());
    writing = false;
    asker.join();
    for (auto& viewer : viewerThreads) {
        viewer.join();
    }

    // Which id each record got, from the store.
    RecordQuery all;
    all.limit = kRecordQueryLimitMax;
    const auto stored = writer0.value->FindRecords(all);
    std::vector<double> latencies;
    int viewersWithAll = 0;
    for (const Heard& viewer : heard) {
        int got = 0;
        for (const StoredRecord& record : stored.value) {
            const auto at = viewer.first.find(record.id);
            if (at == viewer.first.end()) {
                continue;
            }
            ++got;
            latencies.push_back(Ms(at->second - committed[record.record.moduleName]));
        }
        viewersWithAll += got == static_cast<int>(stored.value.size()) ? 1 : 0;
    }
    std::printf(
        "%s: %d viewers, %zu records from %d stations: %d viewers heard every record\n"
        "  commit to event: p50 %.0f ms, p95 %.0f ms, max %.0f ms\n"
        "  /api/summary meanwhile: %zu answers, p50 %.1f ms, p95 %.1f ms\n"
        "  server memory: %ld kB idle, %ld kB with the viewers, %ld kB after the records\n",
        name, viewers, stored.value.size(), kStations, viewersWithAll, Percentile(latencies, 0.5),
        Percentile(latencies, 0.95), Percentile(latencies, 1.0), summaryMs.size(),
        Percentile(summaryMs, 0.5), Percentile(summaryMs, 0.95), idleKb, viewersKb, busyKb);
}

}  // namespace

int main(int argc, char** argv) {
    const int viewers = argc > 1 ? std::atoi(argv[1]) : 100;
    const int records = argc > 2 ? std::atoi(argv[2]) : 50;
    RunOn(BackendKind::Sqlite, viewers, records);
    RunOn(BackendKind::Postgres, viewers, records);
    return 0;
}
