// A line of stations on one store: several lvcfg-cli batches at once, each on modules of its
// own, all taking MACs from one pool; and a station killed while it held a reservation. Run on
// an SQLite file and on the PostgreSQL server of the run (those rows skip without PGHOST).
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sys/stat.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <future>
#include <iterator>
#include <set>
#include <thread>

#include "cli_rig.h"
#include "fifo_feed.h"
#include "link/unique_fd.h"
#include "model/mac_address.h"
#include "store/iso_time.h"
#include "tests/store/store_backend.h"
#include "tools/module_sim/module_identity.h"

namespace {

using Json = nlohmann::ordered_json;

constexpr int kStations = 4;
// Modules per station; each simulator process runs up to 64.
constexpr int kModulesPerStation = 25;
constexpr int kModulesPerSimulator = 25;
// Later than the configuration window's 54 ms, well within a production program's second.
constexpr const char* kLateAckMs = "80";
constexpr const char* kPoolStart = "4C:56:00:01:00:00";

class StationLineTest : public CliTest, public ::testing::WithParamInterface<BackendKind> {
  protected:
    void SetUp() override {
        CliTest::SetUp();
        std::string skipReason;
        std::string failure;
        m_backend = MakeStoreBackend(GetParam(), skipReason, failure);
        ASSERT_TRUE(failure.empty()) << failure;
        if (!m_backend) {
            GTEST_SKIP() << skipReason;
        }
    }

    ProgramRun Run(std::vector<std::string> args, const std::string& station) {
        args.insert(args.end(), {"--station-db", m_backend->Url(), "--station", station});
        return Cli(args);
    }

    // `count` simulated modules answering at once, their ports in order; `misbehaviour`, when
    // given, is the simulator's options for what goes wrong.
    std::vector<std::string> StartModules(int count,
                                          const std::vector<std::string>& misbehaviour = {}) {
        std::vector<std::string> ports;
        while (count > 0) {
            const int group = std::min(count, kModulesPerSimulator);
            std::vector<std::string> args{"--at-once", "--count", std::to_string(group), "--mac",
                                          "11 22 33 00 00 00"};
            args.insert(args.end(), misbehaviour.begin(), misbehaviour.end());
            auto program = std::make_unique<RunningProgram>(kSimProgram, args);
            for (int i = 0; i < group; ++i) {
                ports.push_back(program->ReadLine());
                EXPECT_FALSE(ports.back().empty()) << "the simulator gave too few ports";
            }
            m_simulators.push_back(std::move(program));
            count -= group;
        }
        return ports;
    }

    Json PoolStatus(const std::string& station, std::string* err = nullptr) {
        const ProgramRun run = Run({"pool", "status", "--json"}, station);
        EXPECT_EQ(run.exitStatus, 0) << run.err;
        if (err != nullptr) {
            *err = run.err;
        }
        const auto lines = JsonLines(run.out);
        return lines.empty() ? Json() : lines.back();
    }

    std::unique_ptr<StoreBackend> m_backend;
    std::vector<std::unique_ptr<RunningProgram>> m_simulators;
};

std::string Joined(const std::vector<std::string>& ports) {
    std::string joined;
    for (const std::string& port : ports) {
        joined += (joined.empty() ? "" : ",") + port;
    }
    return joined;
}

// The line where acknowledgements went astray: four stations on one pool, every
// module acknowledging later than 54 ms, the machine kept busy. No module may be failed for a
// late answer, and no MAC may reach two modules.
TEST_P(StationLineTest, FourBusyStationsWithLateAcknowledgementsProgramEveryModuleOnce) {
    constexpr int kModules = kStations * kModulesPerStation;
    ASSERT_EQ(
        Run({"pool", "add", "--start", kPoolStart, "--count", std::to_string(kModules)}, "setup")
            .exitStatus,
        0);
    std::vector<std::string> ports;
    for (int station = 0; station < kStations; ++station) {
        ports.push_back(Joined(StartModules(
            kModulesPerStation, {"--misbehave", "store-late-ack", "--ack-delay", kLateAckMs})));
    }
    std::atomic<bool> busy{true};
    std::vector<std::thread> load;
    for (unsigned i = 0; i < std::max(2u, std::thread::hardware_concurrency()); ++i) {
        load.emplace_back([&busy] {
            while (busy.load(std::memory_order_relaxed)) {
            }
        });
    }
    std::vector<std::future<ProgramRun>> stations;
    for (int station = 0; station < kStations; ++station) {
        stations.push_back(std::async(std::launch::async, [this, &ports, station] {
            return Run({"batch", "--config", m_config, "--ports", ports[station], "--json"},
                       "station" + std::to_string(station));
        }));
    }
    for (auto& station : stations) {
        const ProgramRun run = station.get();
        EXPECT_EQ(run.exitStatus, 0) << run.err;
    }
    busy = false;
    for (std::thread& thread : load) {
        thread.join();
    }

    const ProgramRun records = Run({"records", "--format", "jsonl"}, "setup");
    ASSERT_EQ(records.exitStatus, 0) << records.err;
    std::set<std::string> held;
    for (const Json& record : JsonLines(records.out)) {
        EXPECT_EQ(record["outcome"], "ok") << record.dump();
        EXPECT_TRUE(held.insert(record["mac_written"].get<std::string>()).second)
            << "MAC given twice: " << record.dump();
    }
    EXPECT_EQ(held.size(), static_cast<std::size_t>(kModules));
    const Json status = PoolStatus("setup");
    EXPECT_EQ(status["used"], kModules);
    EXPECT_EQ(status["reserved"], 0);
    EXPECT_EQ(status["suspect"], 0);
}

// The module on a pseudo-terminal of the test's own: it answers the station's read, then sees
// the frame arrive and answers nothing more, so the test knows the station holds the MAC's
// reservation (it is committed before any byte of the frame goes out).
class UnansweredWriteModule {
  public:
    UnansweredWriteModule() {
        int master = -1;
        int slave = -1;
        if (::openpty(&master, &slave, nullptr, nullptr, nullptr) == 0) {
            m_master = UniqueFd(master);
            m_slave = UniqueFd(slave);
            m_path = ::ttyname(slave);
        }
    }
    [[nodiscard]] const std::string& Path() const { return m_path; }

    // true once the station read the module and began to write it.
    bool AwaitWrite() {
        std::string received;
        if (AwaitText(received, "ATR0", 0) == std::string::npos) {
            return false;
        }
        const ConfigFrame frame = MakeModuleFrame({});
        if (::write(m_master.Get(), frame.data(), frame.size()) !=
            static_cast<ssize_t>(frame.size())) {
            return false;
        }
        return AwaitText(received, "ATW0", 0) != std::string::npos;
    }

  private:
    // The position of `text` in what was received, from `from` on, reading until it comes.
    std::size_t AwaitText(std::string& received, const std::string& text, std::size_t from) {
        while (received.find(text, from) == std::string::npos) {
            pollfd fd{m_master.Get(), POLLIN, 0};
            if (::poll(&fd, 1, 60000) <= 0) {
                return std::string::npos;
            }
            char buffer[64];
            const ssize_t count = ::read(m_master.Get(), buffer, sizeof buffer);
            if (count <= 0) {
                return std::string::npos;
            }
            received.append(buffer, static_cast<std::size_t>(count));
        }
        return received.find(text, from);
    }

    UniqueFd m_master;
    UniqueFd m_slave;  // held so the line stays up between the station's opens
    std::string m_path;
};

// lvcfg-cli started beside the test, its standard error into `errFile` (or /dev/null).
pid_t Spawn(const std::vector<std::string>& args, const std::string& errFile = "/dev/null") {
    std::vector<std::string> texts = args;
    texts.insert(texts.begin(), kCliProgram);
    std::vector<char*> argv;
    for (std::string& text : texts) {
        argv.push_back(text.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = -1;
    if (::posix_spawn(&pid, kCliProgram.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
        pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// Starts lvcfg-cli batch with `what` (the .cfg or order options) on a module that never
// answers its write, kills it once the module's MAC is reserved and the write began; true when
// it got that far.
bool KillWhileWriting(const std::vector<std::string>& what, const std::string& url) {
    UnansweredWriteModule module;
    if (module.Path().empty()) {
        return false;
    }
    std::vector<std::string> args{"batch"};
    args.insert(args.end(), what.begin(), what.end());
    args.insert(args.end(),
                {"--ports", module.Path(), "--station-db", url, "--station", "crashed"});
    const pid_t station = Spawn(args);
    if (station <= 0) {
        return false;
    }
    const bool writing = module.AwaitWrite();
    ::kill(station, SIGKILL);
    int status = 0;
    ::waitpid(station, &status, 0);
    return writing;
}

TEST_P(StationLineTest, AStationKilledWhileHoldingAMacQuarantinesItOnItsNextStart) {
    ASSERT_EQ(Run({"pool", "add", "--start", kPoolStart, "--count", "10"}, "setup").exitStatus, 0);
    ASSERT_TRUE(KillWhileWriting({"--config", m_config}, m_backend->Url()))
        << "the station never wrote the module";

    // Looking at the pool changes nothing; another station's start leaves the dead station's
    // reservation alone.
    EXPECT_EQ(PoolStatus("crashed")["reserved"], 1);
    const std::string next = StartModules(1)[0];
    ASSERT_EQ(Run({"batch", "--config", m_config, "--ports", next}, "other").exitStatus, 0);
    EXPECT_EQ(PoolStatus("other")["reserved"], 1);

    // Its own station's next start quarantines it, and it is never handed out again.
    const std::string another = StartModules(1)[0];
    const ProgramRun restart = Run({"batch", "--config", m_config, "--ports", another}, "crashed");
    ASSERT_EQ(restart.exitStatus, 0) << restart.err;
    EXPECT_NE(restart.err.find(kPoolStart), std::string::npos) << restart.err;
    const Json afterRestart = PoolStatus("crashed");
    EXPECT_EQ(afterRestart["reserved"], 0);
    EXPECT_EQ(afterRestart["quarantined"], 1);
    EXPECT_EQ(ReadJson(another)["identity"]["mac"], "4C:56:00:01:00:02");

    // A person checked the module: the MAC goes back to the pool.
    ASSERT_EQ(Run({"pool", "release", kPoolStart}, "crashed").exitStatus, 0);
    const Json released = PoolStatus("crashed");
    EXPECT_EQ(released["quarantined"], 0);
    EXPECT_EQ(released["free"], 8);
}

TEST_P(StationLineTest, AnEmptyPoolStopsOnlyNewMacsAndMacsAddedMeanwhileAreTaken) {
    ASSERT_EQ(Run({"pool", "add", "--start", kPoolStart, "--count", "1"}, "setup").exitStatus, 0);
    const std::vector<std::string> modules = StartModules(2);
    const std::string arrivals = m_folder.File("arrivals");
    ASSERT_EQ(::mkfifo(arrivals.c_str(), 0600), 0);
    RunningProgram station(kCliProgram,
                           {"batch", "--config", m_config, "--watch", "--arrivals-from", arrivals,
                            "--station-db", m_backend->Url(), "--station", "line", "--json"});
    FifoFeed feed(arrivals);
    ASSERT_TRUE(feed.Opened()) << "the watch never read its arrivals";
    feed.Line("add " + modules[0]);
    const auto awaitEnd = [&station] {
        for (std::string line = station.ReadLine(); !line.empty(); line = station.ReadLine()) {
            const Json event = Json::parse(line);
            if (event["event"] == "written" || event["event"] == "failed") {
                return event;
            }
        }
        return Json();
    };
    EXPECT_EQ(awaitEnd()["mac"], kPoolStart);
    feed.Line("add " + modules[1]);
    const Json turnedAway = awaitEnd();
    EXPECT_EQ(turnedAway["reason"], "pool_empty");
    EXPECT_TRUE(turnedAway["mac"].is_null());
    // The watch goes on, and takes MACs added meanwhile.
    ASSERT_EQ(
        Run({"pool", "add", "--start", "4C:56:00:01:00:01", "--count", "1"}, "setup").exitStatus,
        0);
    feed.Line("add " + modules[1]);
    EXPECT_EQ(awaitEnd()["mac"], "4C:56:00:01:00:01");
    feed.Close();  // the end of the arrivals ends the watch
    std::string last;
    for (std::string line = station.ReadLine(); !line.empty(); line = station.ReadLine()) {
        last = line;
    }
    EXPECT_EQ(station.Stop(SIGTERM), 6) << "a module was turned away for lack of a MAC";
    // The summary counts modules apart from attempts, the one turned away as not programmed,
    // and guesses no hourly pace from a few seconds.
    const Json summary = Json::parse(last);
    EXPECT_EQ(summary["programmed"], 2);
    EXPECT_EQ(summary["attempts"], 3);
    EXPECT_EQ(summary["failed"], 1);
    EXPECT_EQ(summary["no_mac"], 1);
    EXPECT_EQ(summary["pool_ran_out"], true);
    EXPECT_TRUE(summary["modules_per_hour"].is_null());
    EXPECT_TRUE(summary["next_mac"].is_null());
}

// The lines of `run` that are JSON objects of event `event`.
std::vector<Json> EventsOf(const ProgramRun& run, const std::string& event) {
    std::vector<Json> found;
    for (const Json& line : JsonLines(run.out)) {
        if (line["event"] == event) {
            found.push_back(line);
        }
    }
    return found;
}

// A line of four watching stations programs one order from more modules than it needs: the
// store's count stops them all at the quantity, each says ORDER COMPLETE and ends by itself,
// and no MAC reaches two modules. The count on SQLite is the store contract's.
TEST_P(StationLineTest, FourStationsProgramOneOrderToItsQuantityAndAllStopComplete) {
    if (GetParam() != BackendKind::Postgres) {
        GTEST_SKIP() << "a line of stations shares a PostgreSQL server";
    }
    constexpr int kQuantity = 60;
    ASSERT_EQ(Run({"pool", "add", "--start", kPoolStart, "--count", "100"}, "setup").exitStatus, 0);
    const ProgramRun created = Run(
        {"order", "create", "WO-60", "--config", m_config, "--quantity", std::to_string(kQuantity)},
        "setup");
    ASSERT_EQ(created.exitStatus, 0) << created.err;
    std::vector<std::unique_ptr<RunningProgram>> stations;
    std::vector<std::ofstream> feeds;
    for (int station = 0; station < kStations; ++station) {
        const std::string arrivals = m_folder.File("arrivals" + std::to_string(station));
        ASSERT_EQ(::mkfifo(arrivals.c_str(), 0600), 0);
        stations.push_back(std::make_unique<RunningProgram>(
            kCliProgram,
            std::vector<std::string>{"batch", "--order", "WO-60", "--watch", "--arrivals-from",
                                     arrivals, "--station-db", m_backend->Url(), "--station",
                                     "station" + std::to_string(station), "--json"}));
        feeds.emplace_back(arrivals);  // opens once the station runs and reads
    }
    const std::vector<Json> running = EventsOf(Run({"stations", "--json"}, "x"), "station");
    ASSERT_EQ(running.size(), std::size_t{kStations});
    for (const Json& row : running) {
        EXPECT_EQ(row["state"], "running");
    }
    for (std::ofstream& feed : feeds) {
        for (const std::string& port : StartModules(kModulesPerStation)) {
            feed << "add " << port << std::endl;
        }
    }
    // The arrivals stay open: each watch ends because the order is complete.
    for (auto& station : stations) {
        std::size_t complete = 0;
        for (std::string line = station->ReadLine(); !line.empty(); line = station->ReadLine()) {
            complete += Json::parse(line)["event"] == "order_complete" ? 1 : 0;
        }
        EXPECT_EQ(complete, 1u);
        EXPECT_EQ(station->Stop(0), 0);
    }

    const ProgramRun records = Run({"records", "--order", "WO-60", "--format", "jsonl"}, "setup");
    ASSERT_EQ(records.exitStatus, 0) << records.err;
    std::set<std::string> held;
    for (const Json& record : JsonLines(records.out)) {
        EXPECT_EQ(record["order"], "WO-60");
        if (record["outcome"] == "ok") {
            EXPECT_TRUE(held.insert(record["mac_written"].get<std::string>()).second)
                << "MAC given twice: " << record.dump();
        }
    }
    EXPECT_EQ(held.size(), std::size_t{kQuantity});
    const std::vector<Json> shown =
        EventsOf(Run({"order", "show", "WO-60", "--json"}, "x"), "order");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0]["state"], "complete");
    EXPECT_EQ(shown[0]["verified"], kQuantity);
    EXPECT_EQ(shown[0]["in_flight"], 0);
    EXPECT_EQ(shown[0]["macs_used"].size(), std::size_t{kQuantity});
    const std::vector<Json> rows = EventsOf(Run({"stations", "--json"}, "x"), "station");
    ASSERT_EQ(rows.size(), std::size_t{kStations});
    for (const Json& row : rows) {
        EXPECT_EQ(row["state"], "stopped");
        EXPECT_EQ(row["order"], "WO-60");
        EXPECT_EQ(row["program"], "lvcfg-cli batch");
    }
    EXPECT_EQ(PoolStatus("setup")["used"], kQuantity);
}

// A station of an order killed mid-module: its row stays "running" and ages into offline, its
// reservation counts against the order until its next start quarantines it and a person
// releases it.
TEST_P(StationLineTest, AStationKilledMidOrderKeepsTheOrdersCountRight) {
    ASSERT_EQ(Run({"pool", "add", "--start", kPoolStart, "--count", "10"}, "setup").exitStatus, 0);
    ASSERT_EQ(Run({"order", "create", "WO-3", "--config", m_config, "--quantity", "3"}, "setup")
                  .exitStatus,
              0);
    const auto order = [this] {
        const std::vector<Json> shown =
            EventsOf(Run({"order", "show", "WO-3", "--json"}, "x"), "order");
        return shown.empty() ? Json() : shown[0];
    };
    const std::int64_t before = StoreClockNow();
    ASSERT_TRUE(KillWhileWriting({"--order", "WO-3"}, m_backend->Url()))
        << "the station never wrote the module";
    const std::vector<Json> rows = EventsOf(Run({"stations", "--json"}, "x"), "station");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0]["state"], "running");  // offline once three refreshes are missed
    EXPECT_GE(rows[0]["last_seen_ms"].get<std::int64_t>(), before);
    EXPECT_LE(rows[0]["last_seen_ms"].get<std::int64_t>(), StoreClockNow());
    EXPECT_EQ(order()["in_flight"], 1);

    const ProgramRun restart =
        Run({"batch", "--order", "WO-3", "--ports", Joined(StartModules(2)), "--json"}, "crashed");
    EXPECT_EQ(restart.exitStatus, 0) << restart.err;
    EXPECT_EQ(EventsOf(restart, "quarantined").size(), 1u) << restart.out;
    Json counted = order();
    EXPECT_EQ(counted["verified"], 2);
    EXPECT_EQ(counted["in_flight"], 1);
    EXPECT_EQ(counted["state"], "open");

    ASSERT_EQ(Run({"pool", "release", kPoolStart}, "setup").exitStatus, 0);
    const ProgramRun last =
        Run({"batch", "--order", "WO-3", "--ports", StartModules(1)[0], "--json"}, "crashed");
    EXPECT_EQ(last.exitStatus, 0) << last.err;
    counted = order();
    EXPECT_EQ(counted["verified"], 3);
    EXPECT_EQ(counted["in_flight"], 0);
    EXPECT_EQ(counted["state"], "complete");
    EXPECT_EQ(EventsOf(Run({"stations", "--json"}, "x"), "station")[0]["state"], "stopped");
}

// The run's PostgreSQL server stopped under a watching station: runs only inside
// pg_virtualenv, whose cluster it stops and starts again.
class PostgresStopTest : public StationLineTest {
  protected:
    void SetUp() override {
        if (std::getenv("PGVERSION") == nullptr || std::getenv("PGHOST") == nullptr) {
            GTEST_SKIP() << "runs only under pg_virtualenv, which owns the server it stops";
        }
        StationLineTest::SetUp();
    }
    void TearDown() override {
        if (m_stopped) {
            EXPECT_TRUE(Cluster("start"));
        }
    }

    static bool Cluster(const std::string& action) {
        const std::string command = "pg_ctlcluster " + std::string(std::getenv("PGVERSION")) +
                                    " regress " + action + " >/dev/null 2>&1";
        return std::system(command.c_str()) == 0;
    }

    bool m_stopped = false;
};

TEST_P(PostgresStopTest, ABatchStopsWithExitSixAndTouchesNoModuleWithoutAReservation) {
    ASSERT_EQ(Run({"pool", "add", "--start", kPoolStart, "--count", "10"}, "setup").exitStatus, 0);
    const std::string arrivals = m_folder.File("arrivals");
    ASSERT_EQ(::mkfifo(arrivals.c_str(), 0600), 0);
    UnansweredWriteModule held;
    const std::string waiting = StartModules(1)[0];
    const std::string errFile = m_folder.File("station.err");
    // A short wait for the held module's answer: the test need not wait out a second.
    const pid_t station =
        Spawn({"batch", "--config", m_config, "--watch", "--arrivals-from", arrivals,
               "--station-db", m_backend->Url(), "--station", "line", "--ack-timeout", "100"},
              errFile);
    ASSERT_GT(station, 0);
    {
        FifoFeed feed(arrivals);  // opens once the station reads
        ASSERT_TRUE(feed.Opened()) << "the watch never read its arrivals";
        feed.Line("add " + held.Path());
        EXPECT_TRUE(held.AwaitWrite());  // its MAC is reserved
        m_stopped = Cluster("stop -m immediate");
        EXPECT_TRUE(m_stopped);
        feed.Line("add " + waiting);
    }  // the end of the arrivals ends the watch
    int status = 0;
    ASSERT_EQ(::waitpid(station, &status, 0), station);

    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 6) << status;
    std::ifstream err(errFile);
    const std::string told((std::istreambuf_iterator<char>(err)), {});
    EXPECT_NE(told.find("station database"), std::string::npos) << told;
    EXPECT_EQ(ReadJson(waiting)["identity"]["mac"], "11:22:33:00:00:00");
    ASSERT_TRUE(Cluster("start"));
    m_stopped = false;
    // The held MAC was never settled: it stays out of the pool, and the station's next start
    // quarantines it.
    const Json pool = PoolStatus("other");
    EXPECT_EQ(pool["free"], 9);
    EXPECT_EQ(pool["used"], 0);
    EXPECT_EQ(Run({"batch", "--config", m_config, "--ports", waiting}, "line").exitStatus, 0);
    EXPECT_EQ(PoolStatus("line")["quarantined"], 1);
}

INSTANTIATE_TEST_SUITE_P(Backends, PostgresStopTest, ::testing::Values(BackendKind::Postgres),
                         [](const auto&) { return "PostgreSQL"; });

INSTANTIATE_TEST_SUITE_P(Backends, StationLineTest,
                         ::testing::Values(BackendKind::Sqlite, BackendKind::Postgres),
                         [](const auto& info) {
                             return info.param == BackendKind::Sqlite ? "SQLite" : "PostgreSQL";
                         });

}  // namespace
