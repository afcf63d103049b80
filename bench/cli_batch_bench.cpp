// Whole-command timings of lvcfg-cli against simulated modules, reported as ratios:
//   parallel  one batch of 8 paced modules against one module alone (aim: at most 1.25)
//   pool64    one batch of 64 paced modules taking MACs from the SQLite pool against one module
//             with a start MAC, side by side (aim: at most 1.25)
//   line      4 stations x 25 modules on one PostgreSQL pool (PGHOST, as pg_virtualenv gives),
//             every acknowledgement 80 ms late, the machine kept busy: MACs found in two modules
//             and modules failed, with the 1 s wait and with the window's 54 ms (aim: 0 and 0)
//   verify    what verification adds to a programming exchange, timed in this process (a
//             program start is noisier than the 2 ms aimed at), less the read-back's own wire
//             time (aim: at most 2 ms); the whole commands' times are shown beside
//   soak      a long batch --watch with modules arriving in waves, one in ten misbehaving:
//             no MAC duplicated or skipped among the successes, every failure reported once,
//             no descriptor or thread left behind
// Usage: lvcfg_bench_cli [soak module count, default 1000]   parallel, verify and soak
//        lvcfg_bench_cli pool64 | line
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include <atomic>
#include <future>
#include <sstream>
#include <thread>

#include "files/cfg_file_loader.h"
#include "model/mac_address.h"
#include "station/module_attempt.h"
#include "tests/cli/child_process.h"
#include "tests/store/store_backend.h"

namespace {

using Clock = std::chrono::steady_clock;
using nlohmann::json;

const std::string kCli = LVCFG_CLI_PATH;
const std::string kSim = LVCFG_MODULE_SIM_PATH;

// 10 bits per byte at 115200 bit/s.
constexpr double kByteMs = 10.0 / 115.2;
constexpr double kReadBackWireMs = (4 + 518) * kByteMs;

struct Module {
    std::unique_ptr<RunningProgram> program;
    std::string port;
};

Module StartModule(const std::vector<std::string>& args) {
    Module module;
    module.program = std::make_unique<RunningProgram>(kSim, args);
    module.port = module.program->ReadLine();
    return module;
}

double TimeMs(const std::vector<std::string>& args, int& exitStatus) {
    const auto start = Clock::now();
    exitStatus = RunProgram(kCli, args).exitStatus;
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double MedianMs(const std::vector<std::string>& args, int runs) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        int status = 0;
        times.push_back(TimeMs(args, status));
        if (status != 0) {
            std::fprintf(stderr, "lvcfg-cli exited %d\n", status);
        }
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// A start MAC above every one sent before: a start MAC never repeats.
std::string FreshStartMac() {
    static std::uint64_t next = 0x4C5600200000;
    const std::string mac = FormatMacAddress(MacFromNumber(next));
    next += 0x100;
    return mac;
}

// A batch with a fresh start MAC, reworking modules the runs before programmed, so every run
// writes every module.
std::vector<std::string> StartMacBatch(const std::string& config, const std::string& ports) {
    return {"batch",    "--config", config,    "--mac-start", FreshStartMac(),
            "--rework", "--json",   "--ports", ports};
}

double MedianOfFresh(const std::string& config, const std::string& ports, int runs) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        int status = 0;
        times.push_back(TimeMs(StartMacBatch(config, ports), status));
        if (status != 0) {
            std::fprintf(stderr, "lvcfg-cli exited %d\n", status);
        }
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void Parallel(const std::string& config) {
    std::vector<Module> modules;
    std::string all;
    for (int i = 0; i < 8; ++i) {
        modules.push_back(StartModule({}));  // paced at the line rate, as a real module
        all += (i == 0 ? "" : ",") + modules.back().port;
    }
    const double oneMs = MedianOfFresh(config, modules[0].port, 3);
    const double eightMs = MedianOfFresh(config, all, 3);
    std::printf("parallel: 1 module %.1f ms, 8 modules %.1f ms, ratio %.2f (aim <= 1.25)\n", oneMs,
                eightMs, eightMs / oneMs);
}

// Programs the module in this process, so that only the exchange is timed, not a program start.
double ProgramMs(const std::string& port, const ConfigSettings& settings, bool verify) {
    AttemptSetup setup;
    setup.settings = settings;
    setup.verify = verify;
    const auto start = Clock::now();
    const AttemptResult result = ProgramAttempt(port, setup, [](const ConfigFrame& frame) {
        MacDecision decision;
        decision.kind = MacDecision::Kind::Write;
        decision.take.grant = MacGrant{MacOfFrame(frame), 0};  // the module keeps its own
        return decision;
    });
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (result.outcome != ModuleOutcome::Succeeded) {
        std::fprintf(stderr, "verify: programming failed: %s\n",
                     ModuleOutcomeReason(result.outcome));
    }
    return ms;
}

// The fastest run: on a busy machine other work only ever adds to a run's time.
double FastestOf(const std::vector<double>& times) {
    return *std::min_element(times.begin(), times.end());
}

void Verify(const std::string& config) {
    const Module module = StartModule({});  // paced at the line rate
    ConfigFrame frame{};
    if (LoadCfgFile(config, frame) != CfgLoadOutcome::Loaded) {
        std::fprintf(stderr, "verify: the configuration does not load\n");
        return;
    }
    const ConfigSettings settings = SettingsFromFrame(frame);
    std::vector<double> plain;
    std::vector<double> verified;
    for (int i = 0; i < 21; ++i) {  // alternating, so drifts of the machine hit both alike
        plain.push_back(ProgramMs(module.port, settings, false));
        verified.push_back(ProgramMs(module.port, settings, true));
    }
    const double plainMs = FastestOf(plain);
    const double verifiedMs = FastestOf(verified);
    const double overhead = verifiedMs - plainMs - kReadBackWireMs;
    // Through the program as scripts run it, start-up included.
    const std::vector<std::string> write{"write", "--port", module.port, "--config", config};
    auto noVerify = write;
    noVerify.push_back("--no-verify");
    std::printf(
        "verify: write %.1f ms, with verification %.1f ms, read-back wire %.1f ms, "
        "overhead %.1f ms per module (aim <= 2 ms); as lvcfg-cli write: %.1f ms and "
        "%.1f ms\n",
        plainMs, verifiedMs, kReadBackWireMs, overhead, MedianMs(noVerify, 5), MedianMs(write, 5));
}

std::size_t CountEntries(const std::string& folder) {
    std::error_code error;
    std::size_t count = 0;
    for (auto it = std::filesystem::directory_iterator(folder, error);
         it != std::filesystem::directory_iterator(); ++it) {
        ++count;
    }
    return count;
}

struct ProcessUse {
    std::size_t fds;
    std::size_t threads;
};

ProcessUse UseOf(pid_t pid) {
    const std::string proc = "/proc/" + std::to_string(pid);
    return {CountEntries(proc + "/fd"), CountEntries(proc + "/task")};
}

// Reads the CLI's lines until `count` modules have finished; records them.
void AwaitResults(RunningProgram& cli, std::size_t count, std::vector<std::uint64_t>& macs,
                  std::map<std::string, int>& failures) {
    std::size_t finished = 0;
    while (finished < count) {
        const std::string line = cli.ReadLine();
        if (line.empty()) {
            std::fprintf(stderr, "soak: lvcfg-cli ended early\n");
            std::exit(1);
        }
        const json event = json::parse(line, nullptr, false);
        const std::string kind = event.value("event", "");
        if (kind == "written") {
            macs.push_back(MacToNumber(*ParseMacAddress(event["mac"].get<std::string>())));
            ++finished;
        } else if (kind == "failed") {
            ++failures[event.value("port", "")];
            ++finished;
        }
    }
}

// Starts `count` modules in one simulator process, answering at once unless `paced`; their
// ports are appended to `ports`.
std::unique_ptr<RunningProgram> StartModules(int count, const std::vector<std::string>& extra,
                                             std::vector<std::string>& ports, bool paced = false) {
    std::vector<std::string> args{"--count", std::to_string(count)};
    if (!paced) {
        args.push_back("--at-once");
    }
    args.insert(args.end(), extra.begin(), extra.end());
    auto program = std::make_unique<RunningProgram>(kSim, args);
    for (int i = 0; i < count; ++i) {
        ports.push_back(program->ReadLine());
    }
    return program;
}

bool Soak(const std::string& config, const std::string& folder, int total) {
    const std::string fifo = folder + "/arrivals";
    ::mkfifo(fifo.c_str(), 0600);
    constexpr std::uint64_t kStart = 0x4C5600010000;
    RunningProgram cli(kCli, {"batch", "--config", config, "--watch", "--arrivals-from", fifo,
                              "--mac-start", FormatMacAddress(MacFromNumber(kStart)), "--json"});
    std::ofstream arrivals(fifo);  // waits for the CLI to open its end
    std::mt19937 random(20261209);
    // Faults that leave the module without the frame, so its MAC goes to the next module.
    const char* misbehaviours[] = {"silent", "bad-crc", "short"};
    std::vector<std::uint64_t> macs;
    std::map<std::string, int> failures;
    int misbehavingCount = 0;
    std::set<std::string> misbehaving;
    ProcessUse first{};
    ProcessUse last{};
    const auto start = Clock::now();
    for (int done = 0, wave = 0; done < total; ++wave) {
        const int size = std::min<int>(1 + static_cast<int>(random() % 8), total - done);
        int good = 0;
        std::vector<std::string> ports;
        std::vector<std::unique_ptr<RunningProgram>> simulators;
        for (int i = 0; i < size; ++i) {
            if (random() % 10 != 0) {
                ++good;
                continue;
            }
            const char* fault = misbehaviours[random() % 3];
            simulators.push_back(StartModules(1, {"--misbehave", fault}, ports));
            misbehaving.insert(ports.back());
            ++misbehavingCount;
        }
        if (good > 0) {
            simulators.push_back(StartModules(good, {}, ports));
        }
        for (const std::string& port : ports) {
            arrivals << "add " << port << "\n";
        }
        arrivals.flush();
        AwaitResults(cli, static_cast<std::size_t>(size), macs, failures);
        for (const std::string& port : ports) {
            arrivals << "remove " << port << "\n";
        }
        arrivals.flush();
        done += size;
        (wave == 0 ? first : last) = UseOf(cli.Pid());
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    arrivals.close();  // the watch ends; the summary follows
    json summary;
    for (std::string line = cli.ReadLine(); !line.empty(); line = cli.ReadLine()) {
        const json event = json::parse(line, nullptr, false);
        if (event.value("event", "") == "summary") {
            summary = event;
        }
    }

    // The successes and the MACs given back at the end are one run from the start, each once.
    std::vector<std::uint64_t> used = macs;
    for (const auto& unused : summary.value("unused_macs", json::array())) {
        used.push_back(MacToNumber(*ParseMacAddress(unused.get<std::string>())));
    }
    std::sort(used.begin(), used.end());
    bool consecutive = true;
    for (std::size_t i = 0; i < used.size(); ++i) {
        consecutive = consecutive && used[i] == kStart + i;
    }
    // A pty path comes back once its module is gone, so count failures, not distinct paths.
    int failureCount = 0;
    bool onlyMisbehaving = true;
    for (const auto& [port, count] : failures) {
        failureCount += count;
        onlyMisbehaving = onlyMisbehaving && misbehaving.count(port) == 1;
    }
    std::printf(
        "soak: %d modules in %.1f s (%.0f per hour): %zu programmed, %d failed of %d "
        "misbehaving; MACs one run without duplicates or gaps: %s; failures only from "
        "misbehaving ports: %s; descriptors %zu -> %zu, threads %zu -> %zu\n",
        total, seconds, macs.size() / seconds * 3600.0, macs.size(), failureCount, misbehavingCount,
        consecutive ? "yes" : "NO", onlyMisbehaving ? "yes" : "NO", first.fds, last.fds,
        first.threads, last.threads);
    return consecutive && onlyMisbehaving && failureCount == misbehavingCount &&
           macs.size() + static_cast<std::size_t>(failureCount) ==
               static_cast<std::size_t>(total) &&
           last.fds <= first.fds && last.threads <= first.threads;
}

std::string Joined(const std::vector<std::string>& ports) {
    std::string joined;
    for (const std::string& port : ports) {
        joined += (joined.empty() ? "" : ",") + port;
    }
    return joined;
}

// 64 modules from the pool against one with a start MAC, alternating, each run on fresh
// modules (a module programmed once is left alone the next time), paced at the line rate as
// real modules are.
void Pool64(const std::string& config, const std::string& folder) {
    const std::string db = "sqlite:" + folder + "/pool64.sqlite";
    if (RunProgram(kCli, {"pool", "add", "--start", "4C:56:00:30:00:00", "--count", "10000",
                          "--station-db", db})
            .exitStatus != 0) {
        std::fprintf(stderr, "pool64: cannot make the pool\n");
        return;
    }
    std::vector<double> many;
    std::vector<double> one;
    for (int run = 0; run < 5; ++run) {
        std::vector<std::string> ports;
        const auto sixtyFour = StartModules(64, {"--mac", "11 22 33 00 00 00"}, ports, true);
        const Module single = StartModule({"--mac", "11 22 34 00 00 00"});
        int status = 0;
        many.push_back(TimeMs(
            {"batch", "--config", config, "--ports", Joined(ports), "--json", "--station-db", db},
            status));
        if (status != 0) {
            std::fprintf(stderr, "pool64: the pool batch exited %d\n", status);
        }
        one.push_back(TimeMs({"batch", "--config", config, "--ports", single.port, "--mac-start",
                              FreshStartMac(), "--json", "--station-db", db},
                             status));
        if (status != 0) {
            std::fprintf(stderr, "pool64: the start MAC batch exited %d\n", status);
        }
    }
    std::sort(many.begin(), many.end());
    std::sort(one.begin(), one.end());
    std::printf(
        "pool64: 64 modules from the pool %.1f ms, 1 module with a start MAC %.1f ms, "
        "ratio %.2f (aim <= 1.25)\n",
        many[2], one[2], many[2] / one[2]);
}

struct LineResult {
    int failed = 0;
    int ackLost = 0;
    int macsInTwoModules = 0;
};

// 4 stations x 25 modules, every acknowledgement late, on one pool on the server at `url`.
LineResult RunLine(const std::string& config, const std::string& url, const std::string& ackMs) {
    LineResult result;
    std::vector<std::unique_ptr<RunningProgram>> simulators;
    std::vector<std::string> stationPorts;
    std::vector<std::string> all;
    for (int station = 0; station < 4; ++station) {
        std::vector<std::string> ports;
        simulators.push_back(
            StartModules(25, {"--misbehave", "store-late-ack", "--ack-delay", "80"}, ports));
        stationPorts.push_back(Joined(ports));
        all.insert(all.end(), ports.begin(), ports.end());
    }
    std::vector<std::future<ProgramRun>> stations;
    for (int station = 0; station < 4; ++station) {
        stations.push_back(std::async(std::launch::async, [&, station] {
            return RunProgram(kCli, {"batch", "--config", config, "--ports", stationPorts[station],
                                     "--ack-timeout", ackMs, "--json", "--station-db", url,
                                     "--station", "line-" + std::to_string(station)});
        }));
    }
    for (auto& station : stations) {
        for (const json& event : [&] {
                 std::vector<json> events;
                 std::istringstream lines(station.get().out);
                 for (std::string line; std::getline(lines, line);) {
                     events.push_back(json::parse(line, nullptr, false));
                 }
                 return events;
             }()) {
            const std::string kind = event.value("event", "");
            result.failed += kind == "failed" ? 1 : 0;
            result.ackLost += event.contains("note") ? 1 : 0;
        }
    }
    std::map<std::string, int> holders;
    for (const std::string& port : all) {
        const ProgramRun read = RunProgram(kCli, {"read", "--port", port, "--json"});
        const json module = json::parse(read.out, nullptr, false);
        if (!module.is_discarded()) {
            ++holders[module["identity"]["mac"].get<std::string>()];
        }
    }
    for (const auto& [mac, count] : holders) {
        result.macsInTwoModules += count > 1 ? 1 : 0;
    }
    return result;
}

void Line(const std::string& config) {
    std::string skip;
    std::string failure;
    std::atomic<bool> busy{true};
    std::vector<std::thread> load;
    for (unsigned i = 0; i < std::max(2u, std::thread::hardware_concurrency()); ++i) {
        load.emplace_back([&busy] {
            while (busy.load(std::memory_order_relaxed)) {
            }
        });
    }
    for (const char* ackMs : {"1000", "54"}) {
        const std::unique_ptr<StoreBackend> backend =
            MakeStoreBackend(BackendKind::Postgres, skip, failure);
        if (!backend) {
            std::fprintf(stderr, "line: no PostgreSQL server: %s%s\n", skip.c_str(),
                         failure.c_str());
            break;
        }
        if (RunProgram(kCli, {"pool", "add", "--start", "4C:56:00:40:00:00", "--count", "100",
                              "--station-db", backend->Url()})
                .exitStatus != 0) {
            std::fprintf(stderr, "line: cannot make the pool\n");
            break;
        }
        const LineResult result = RunLine(config, backend->Url(), ackMs);
        std::printf(
            "line: wait %s ms: %d MACs in two modules, %d of 100 modules failed, %d "
            "acknowledgements lost and settled by reading (aim: 0 and 0)\n",
            ackMs, result.macsInTwoModules, result.failed, result.ackLost);
    }
    busy = false;
    for (std::thread& thread : load) {
        thread.join();
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    const int soakCount =
        argc > 1 && mode != "pool64" && mode != "line" ? std::atoi(argv[1]) : 1000;
    char pattern[] = "/tmp/lvcfg-cli-bench-XXXXXX";
    const std::string folder = ::mkdtemp(pattern);
    const std::string config = folder + "/module.cfg";
    // The runs' station database (their production record) goes with the folder.
    ::setenv("XDG_DATA_HOME", folder.c_str(), 1);
    ::unsetenv("LVCFG_STATION_DB");
    {
        const Module module = StartModule({"--at-once"});
        if (RunProgram(kCli, {"read", "--port", module.port, "--output", config}).exitStatus != 0) {
            std::fprintf(stderr, "cannot read a simulated module\n");
            return 1;
        }
    }
    bool sound = true;
    if (mode == "pool64") {
        Pool64(config, folder);
    } else if (mode == "line") {
        Line(config);
    } else {
        Parallel(config);
        Verify(config);
        sound = Soak(config, folder, soakCount);
    }
    std::filesystem::remove_all(folder);
    return sound ? 0 : 1;
}
