// What each command prints and changes, driven through the real executable.
#include <sys/stat.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <fstream>
#include <set>

#include "cli_rig.h"
#include "fifo_feed.h"

namespace {

using json = nlohmann::ordered_json;

const std::vector<std::string> kIdentityKeys{"name",         "version",      "type",
                                             "rf_freq_band", "rf_power_max", "mac"};

std::vector<std::string> Keys(const json& object) {
    std::vector<std::string> keys;
    for (const auto& item : object.items()) {
        keys.push_back(item.key());
    }
    return keys;
}

std::vector<json> EventsOf(const std::vector<json>& lines, const std::string& event) {
    std::vector<json> found;
    std::copy_if(lines.begin(), lines.end(), std::back_inserter(found),
                 [&](const json& line) { return line.value("event", "") == event; });
    return found;
}

using CommandsTest = CliTest;

TEST_F(CommandsTest, ReadListsIdentityThenEveryField) {
    const std::string port = m_modules.Start({"--mac", "4C 56 00 00 00 2A", "--role", "root"});
    const json module = ReadJson(port);
    EXPECT_EQ(module["event"], "module");
    EXPECT_EQ(module["port"], port);
    EXPECT_EQ(Keys(module["identity"]), kIdentityKeys);
    EXPECT_EQ(module["identity"]["mac"], "4C:56:00:00:00:2A");
    EXPECT_EQ(module["identity"]["type"], "ROOT");
    EXPECT_EQ(module["identity"]["version"], "1.6");
    EXPECT_TRUE(module["fields"].contains("network_id"));
    EXPECT_TRUE(module["fields"]["network_id"].is_number_integer());
    EXPECT_FALSE(module["fields"].contains("mac"));  // listed once, in the identity
}

TEST_F(CommandsTest, ReadOutputShowsTheSameValuesAsTheModule) {
    const std::string port = m_modules.Start({"--mac", "4C 56 00 00 00 01"});
    json module = ReadJson(port);
    json config = ShowJson(m_config);
    EXPECT_EQ(config["event"], "config");
    EXPECT_EQ(config["file"], m_config);
    EXPECT_EQ(module["identity"], config["identity"]);
    EXPECT_EQ(module["fields"], config["fields"]);
}

TEST_F(CommandsTest, TextListingNamesEachValue) {
    const ProgramRun run = Cli({"show", m_config});
    ASSERT_EQ(run.exitStatus, 0);
    EXPECT_NE(run.out.find("mac: 4C:56:00:00:00:01\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\nnetwork_id: "), std::string::npos) << run.out;
}

TEST_F(CommandsTest, SetChangesTheFieldAndKeepsTheRest) {
    const std::string out = m_folder.File("changed.cfg");
    const ProgramRun run = Cli({"set", m_config, "network_id=4660", "--output", out});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    json before = ShowJson(m_config);
    json after = ShowJson(out);
    EXPECT_EQ(after["fields"]["network_id"], 4660);
    EXPECT_EQ(after["identity"], before["identity"]);
    after["fields"].erase("network_id");
    before["fields"].erase("network_id");
    EXPECT_EQ(after["fields"], before["fields"]);
}

TEST_F(CommandsTest, RefusedSetWritesNothing) {
    const std::vector<std::uint8_t> original = ReadBytes(m_config);
    const std::set<std::string> entries = m_folder.Entries();
    const ProgramRun run = Cli({"set", m_config, "network_id=5", "no_such_field=1", "--json"});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(ReadBytes(m_config), original);
    EXPECT_EQ(m_folder.Entries(), entries);
    const auto lines = JsonLines(run.out);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]["reason"], "unknown_field");
}

TEST_F(CommandsTest, WriteKeepsTheModulesIdentityAndMac) {
    const std::string changed = m_folder.File("changed.cfg");
    ASSERT_EQ(Cli({"set", m_config, "network_id=4321", "--output", changed}).exitStatus, 0);
    const std::string port = m_modules.Start({"--mac", "4C 56 00 00 00 33", "--role", "root"});
    const ProgramRun run = Cli({"write", "--port", port, "--config", changed, "--json"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const auto lines = JsonLines(run.out);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], json({{"event", "written"},
                              {"port", port},
                              {"mac", "4C:56:00:00:00:33"},
                              {"verified", true}}));
    const json module = ReadJson(port);
    EXPECT_EQ(module["fields"]["network_id"], 4321);
    EXPECT_EQ(module["identity"]["type"], "ROOT");
    EXPECT_EQ(module["identity"]["mac"], "4C:56:00:00:00:33");
}

TEST_F(CommandsTest, WriteWithMacGivesTheModuleThatMac) {
    const std::string port = m_modules.Start({"--mac", "4C 56 00 00 00 33"});
    const ProgramRun run = Cli({"write", "--port", port, "--config", m_config, "--mac",
                                "4c:56:00:00:ab:cd", "--no-verify", "--json"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const auto lines = JsonLines(run.out);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]["mac"], "4C:56:00:00:AB:CD");
    EXPECT_EQ(lines[0]["verified"], false);
    EXPECT_EQ(ReadJson(port)["identity"]["mac"], "4C:56:00:00:AB:CD");
}

TEST_F(CommandsTest, FailureCarriesReasonAndTheWindowsText) {
    const std::string port = m_modules.Start({"--misbehave", "bad-magic"});
    const ProgramRun run = Cli({"--json", "write", "--port", port, "--config", m_config});
    EXPECT_EQ(run.exitStatus, 1);
    const auto lines = JsonLines(run.out);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]["event"], "failed");
    EXPECT_EQ(lines[0]["reason"], "wrong_magic");
    EXPECT_EQ(lines[0]["message"], "The configuration block verification word does not match!");
}

TEST_F(CommandsTest, DiffNamesTheFieldsThatDiffer) {
    const std::string changed = m_folder.File("changed.cfg");
    ASSERT_EQ(Cli({"set", m_config, "network_id=17", "--output", changed}).exitStatus, 0);
    const ProgramRun run = Cli({"diff", m_config, changed, "--json"});
    EXPECT_EQ(run.exitStatus, 1);
    const auto lines = JsonLines(run.out);
    const auto differences = EventsOf(lines, "difference");
    const json expected{{"event", "difference"},
                        {"field", "network_id"},
                        {"a", ShowJson(m_config)["fields"]["network_id"]},
                        {"b", 17}};
    EXPECT_NE(std::find(differences.begin(), differences.end(), expected), differences.end())
        << run.out;
    ASSERT_EQ(EventsOf(lines, "diff").size(), 1u);
    EXPECT_EQ(EventsOf(lines, "diff")[0]["differences"], differences.size());
}

TEST_F(CommandsTest, BatchGivesEachModuleItsOwnMacAndTellsWhichCameBack) {
    const std::vector<std::string> ports{m_modules.Start(),
                                         m_modules.Start({"--misbehave", "silent"}),
                                         m_modules.Start(), m_modules.Start()};
    const ProgramRun run = Cli({"batch", "--config", m_config, "--ports",
                                ports[0] + "," + ports[1] + "," + ports[2] + "," + ports[3],
                                "--mac-start", "4C:56:00:00:00:FE", "--json"});
    EXPECT_EQ(run.exitStatus, 1) << run.err;
    const auto lines = JsonLines(run.out);
    const auto failed = EventsOf(lines, "failed");
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(failed[0]["port"], ports[1]);
    EXPECT_EQ(failed[0]["reason"], "no_answer");
    EXPECT_EQ(failed[0]["message"], "Module does not response!");
    // All four start at once; a MAC is taken only once a module has answered, so the silent
    // one never had one and the others take the first three, across the byte boundary.
    EXPECT_TRUE(failed[0]["mac"].is_null());
    std::set<std::string> macs;
    for (const json& written : EventsOf(lines, "written")) {
        EXPECT_TRUE(macs.insert(written["mac"].get<std::string>()).second) << "given twice";
        EXPECT_EQ(ReadJson(written["port"])["identity"]["mac"], written["mac"]);
    }
    EXPECT_EQ(macs, (std::set<std::string>{"4C:56:00:00:00:FE", "4C:56:00:00:00:FF",
                                           "4C:56:00:00:01:00"}));
    const json& summary = lines.back();
    ASSERT_EQ(summary["event"], "summary");
    EXPECT_EQ(summary["programmed"], 3);
    EXPECT_EQ(summary["failed"], 1);
    EXPECT_EQ(summary["next_mac"], "4C:56:00:00:01:01");
    EXPECT_EQ(summary["unused_macs"], json::array());
}

TEST_F(CommandsTest, BatchWatchProgramsEachModulePluggedIn) {
    const std::string first = m_modules.Start();
    const std::string second = m_modules.Start();
    const std::string arrivals = m_folder.File("arrivals");
    std::ofstream(arrivals) << "add " << first << "\nadd " << second << "\nremove " << first
                            << "\n";
    const ProgramRun run = Cli({"batch", "--config", m_config, "--watch", "--arrivals-from",
                                arrivals, "--mac-start", "4C:56:00:00:10:00", "--json"});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    const auto lines = JsonLines(run.out);
    EXPECT_EQ(EventsOf(lines, "port").size(), 3u);
    std::set<std::string> macs;
    for (const json& written : EventsOf(lines, "written")) {
        macs.insert(written["mac"].get<std::string>());
    }
    EXPECT_EQ(macs, (std::set<std::string>{"4C:56:00:00:10:00", "4C:56:00:00:10:01"}));
    EXPECT_EQ(lines.back()["event"], "summary");
}

TEST_F(CommandsTest, PortsWatchReportsPortsComingAndGoing) {
    const std::string arrivals = m_folder.File("arrivals");
    std::ofstream(arrivals) << "add /dev/ttyUSB7\nnonsense\nremove /dev/ttyUSB7\n";
    const ProgramRun run = Cli({"ports", "--watch", "--arrivals-from", arrivals, "--json"});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    auto events = EventsOf(JsonLines(run.out), "port");
    events.erase(std::remove_if(events.begin(), events.end(),
                                [](const json& e) { return !e.contains("action"); }),
                 events.end());
    EXPECT_EQ(events, (std::vector<json>{
                          {{"event", "port"}, {"action", "add"}, {"device", "/dev/ttyUSB7"}},
                          {{"event", "port"}, {"action", "remove"}, {"device", "/dev/ttyUSB7"}},
                      }));
}

TEST_F(CommandsTest, JsonMayStandBeforeOrAfterTheCommand) {
    const ProgramRun before = Cli({"--json", "show", m_config});
    const ProgramRun after = Cli({"show", m_config, "--json"});
    EXPECT_EQ(before.out, after.out);
    EXPECT_EQ(JsonLines(before.out).size(), 1u);
}

TEST_F(CommandsTest, TextOutputCarriesNoTerminalControlsWhenPiped) {
    const std::string port = m_modules.Start();
    const ProgramRun run =
        Cli({"batch", "--config", m_config, "--ports", port, "--mac-start", "4C:56:00:00:00:50"});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.out.find('\x1b'), std::string::npos);
    EXPECT_NE(run.out.find(port + ": written, MAC 4C:56:00:00:00:50, verified"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("programmed 1 module in 1 attempt, already programmed 0, failed 0; "),
              std::string::npos)
        << run.out;
}

TEST_F(CommandsTest, DoctorGivesOneCheckPerLine) {
    const ProgramRun run = Cli({"doctor", "--json"});
    EXPECT_EQ(run.exitStatus, 0);
    std::set<std::string> checks;
    for (const json& line : JsonLines(run.out)) {
        EXPECT_EQ(line["event"], "check");
        EXPECT_TRUE(line["ok"].is_boolean());
        EXPECT_EQ(line.contains("advice"), !line["ok"].get<bool>());
        checks.insert(line["check"].get<std::string>());
    }
    for (const char* name : {"serial_access", "modemmanager", "brltty", "udev"}) {
        EXPECT_EQ(checks.count(name), 1u) << name;
    }
}

}  // namespace

namespace {

struct TerminalRow {
    const char* name;
    std::map<std::string, std::string> environment;
    std::vector<std::string> extra;
    bool live;
};

class BatchOnTerminalTest : public CliTest, public ::testing::WithParamInterface<TerminalRow> {};

TEST_P(BatchOnTerminalTest, ShowsLiveLinesOnlyWhereAllowed) {
    std::vector<std::string> args{"batch",
                                  "--config",
                                  m_config,
                                  "--ports",
                                  m_modules.Start(),
                                  "--mac-start",
                                  "4C:56:00:00:00:60",
                                  "--station-db",
                                  "sqlite:" + m_folder.File("station.sqlite")};
    args.insert(args.end(), GetParam().extra.begin(), GetParam().extra.end());
    const ProgramRun run =
        RunProgramOnTerminal(kCliProgram, args, CliEnvironment(GetParam().environment));
    EXPECT_EQ(run.exitStatus, 0) << run.out;
    EXPECT_EQ(run.out.find("\x1b[") != std::string::npos, GetParam().live) << run.out;
    EXPECT_NE(run.out.find("4C:56:00:00:00:60"), std::string::npos) << run.out;
}

const TerminalRow kTerminalRows[] = {
    {"Terminal", {{"NO_COLOR", ""}}, {}, true},
    {"NoColor", {{"NO_COLOR", "1"}}, {}, false},
    {"Json", {{"NO_COLOR", ""}}, {"--json"}, false},
};

INSTANTIATE_TEST_SUITE_P(Output, BatchOnTerminalTest, ::testing::ValuesIn(kTerminalRows),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

namespace {

struct SetRow {
    const char* name;
    std::string assignment;
    std::string field;
    json stored;
    std::string warning;  // exact text on standard error; "" for none
};

class SetFieldTest : public CliTest, public ::testing::WithParamInterface<SetRow> {};

TEST_P(SetFieldTest, StoresTheValueTheWindowWouldAfterItsChecks) {
    const std::string out = m_folder.File("changed.cfg");
    const ProgramRun run = Cli({"set", m_config, GetParam().assignment, "--output", out});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.err, GetParam().warning.empty() ? "" : GetParam().warning + "\n");
    const json stored = ShowJson(out)["fields"][GetParam().field];
    if (GetParam().stored.is_number_float()) {
        // A frequency goes through the frame's frequency word, which is not exact.
        EXPECT_NEAR(stored.get<double>(), GetParam().stored.get<double>(), 0.001);
    } else {
        EXPECT_EQ(stored, GetParam().stored);
    }
}

const SetRow kSetRows[] = {
    {"Integer", "network_id=4660", "network_id", 4660, ""},
    {"Real", "start_freq_mhz=470.5", "start_freq_mhz", 470.5, ""},
    {"CheckBoxTrue", "flow_ctrl=true", "flow_ctrl", true, ""},
    {"CheckBoxOne", "flow_ctrl=1", "flow_ctrl", true, ""},
    {"ListItem", "uart_parity_bit=Even", "uart_parity_bit", "Even", ""},
    {"TimingValue", "timeout_up_ms=1000", "timeout_up_ms", 1000, ""},
};

INSTANTIATE_TEST_SUITE_P(Fields, SetFieldTest, ::testing::ValuesIn(kSetRows),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

namespace {

TEST_F(CommandsTest, VerificationFailureKeepsItsMacUsedAndNamesTheFields) {
    const std::string good = m_modules.Start();
    const std::string other = m_modules.Start({"--misbehave", "store-other"});
    const ProgramRun run = Cli({"batch", "--config", m_config, "--ports", good + "," + other,
                                "--mac-start", "4C:56:00:00:02:00", "--json"});
    EXPECT_EQ(run.exitStatus, 5) << run.err;
    const auto lines = JsonLines(run.out);
    const auto failed = EventsOf(lines, "failed");
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(failed[0]["port"], other);
    EXPECT_EQ(failed[0]["reason"], "verify_failed");
    EXPECT_EQ(failed[0]["message"],
              "Verification failed: the module read back a block other than the one written (it "
              "differs in network_id)");
    EXPECT_EQ(lines.back()["next_mac"], "4C:56:00:00:02:02");
    EXPECT_EQ(lines.back()["unused_macs"], json::array());  // the module may hold its MAC
}

}  // namespace

namespace {

class StoppedWatchTest : public CliTest, public ::testing::WithParamInterface<int> {};

// Ctrl+C, a kill, or the terminal closing: the module in hand finishes and the summary comes.
TEST_P(StoppedWatchTest, FinishesWithItsSummary) {
    const std::string port = m_modules.Start();
    const std::string fifo = m_folder.File("arrivals");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    RunningProgram cli(kCliProgram, {"batch", "--config", m_config, "--watch", "--arrivals-from",
                                     fifo, "--mac-start", "4C:56:00:00:03:00", "--json",
                                     "--station-db", "sqlite:" + m_folder.File("station.sqlite")});
    FifoFeed arrivals(fifo);  // opens once the command reads the FIFO
    ASSERT_TRUE(arrivals.Opened()) << "the watch never read its arrivals";
    arrivals.Line("add " + port);
    std::vector<json> lines;
    while (lines.empty() || lines.back()["event"] != "written") {
        const std::string line = cli.ReadLine();
        ASSERT_FALSE(line.empty()) << "the watch ended early";
        lines.push_back(json::parse(line));
    }
    EXPECT_EQ(cli.Stop(GetParam()), 0);  // the feed stays open: only the signal ends the watch
    std::string rest;
    for (std::string line = cli.ReadLine(); !line.empty(); line = cli.ReadLine()) {
        rest = line;
    }
    const json summary = json::parse(rest);
    EXPECT_EQ(summary["event"], "summary");
    EXPECT_EQ(summary["programmed"], 1);
}

INSTANTIATE_TEST_SUITE_P(Signals, StoppedWatchTest, ::testing::Values(SIGINT, SIGTERM, SIGHUP),
                         [](const auto& info) { return std::string(strsignal(info.param)); });

// A reader that goes away ends the output quietly; the modules are programmed and recorded.
TEST_F(CommandsTest, AClosedOutputEndsTheOutputNotTheRun) {
    const std::string first = m_modules.Start();
    const std::string second = m_modules.Start();
    const std::string db = "sqlite:" + m_folder.File("station.sqlite");
    const std::string command =
        "'" + kCliProgram + "' batch --config '" + m_config + "' --ports " + first + "," + second +
        " --mac-start 4C:56:00:00:04:00 --station-db '" + db + "' | true; exit ${PIPESTATUS[0]}";
    const ProgramRun run = RunProgram("/bin/bash", {"-c", command});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.err, "");
    std::set<std::string> macs{ReadJson(first)["identity"]["mac"].get<std::string>(),
                               ReadJson(second)["identity"]["mac"].get<std::string>()};
    EXPECT_EQ(macs, (std::set<std::string>{"4C:56:00:00:04:00", "4C:56:00:00:04:01"}));
    EXPECT_EQ(Cli({"records", "--station-db", db}).out.size() > 0, true);
}

// A module's name is its own bytes: no name can forge a line of text output or move a terminal,
// and one that is no text is kept, escaped, in the record.
TEST_F(CommandsTest, AModulesNameCannotForgeALineAndIsRecordedEscaped) {
    const std::string port = m_modules.Start(
        {"--name", "4C 75 6D 69 76 61 72 6F 0A 6D 61 63 3A 20 30 30 1B 5B 32 4A FF FE"});
    const ProgramRun read = Cli({"read", "--port", port});
    ASSERT_EQ(read.exitStatus, 0) << read.err;
    EXPECT_EQ(read.out.find('\x1b'), std::string::npos);
    EXPECT_EQ(read.out.find("\nmac: 00"), std::string::npos) << read.out;
    EXPECT_NE(read.out.find("name: Lumivaro\\x0Amac: 00\\x1B[2J\\xFF\\xFE\n"), std::string::npos)
        << read.out;

    const std::string db = "sqlite:" + m_folder.File("station.sqlite");
    ASSERT_EQ(Cli({"write", "--port", port, "--config", m_config, "--station-db", db}).exitStatus,
              0);
    const auto records = JsonLines(Cli({"records", "--format", "jsonl", "--station-db", db}).out);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0]["module_name"], "Lumivaro\\x0Amac: 00\\x1B[2J\\xFF\\xFE");
}

}  // namespace
