#include "cli_rig.h"

#include <sstream>

const std::string& TestDataHome() {
    static const TempFolder folder;
    static const std::string path = folder.Path();
    return path;
}

std::vector<nlohmann::ordered_json> JsonLines(const std::string& out) {
    std::vector<nlohmann::ordered_json> lines;
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line)) {
        const nlohmann::ordered_json parsed = nlohmann::ordered_json::parse(line, nullptr, false);
        EXPECT_FALSE(parsed.is_discarded()) << "no JSON: " << line;
        EXPECT_TRUE(parsed.is_object()) << line;
        lines.push_back(parsed);
    }
    return lines;
}

std::string SimulatedModules::Start(const std::vector<std::string>& args) {
    std::vector<std::string> all{"--at-once"};
    all.insert(all.end(), args.begin(), args.end());
    auto program = std::make_unique<RunningProgram>(kSimProgram, all);
    std::string path = program->ReadLine();
    EXPECT_FALSE(path.empty()) << "the simulator gave no port";
    m_programs.push_back(std::move(program));
    return path;
}

void CliTest::SetUp() {
    ASSERT_FALSE(m_folder.Path().empty());
    m_config = m_folder.File("module.cfg");
    const std::string port = m_modules.Start({"--mac", "4C 56 00 00 00 01"});
    const ProgramRun run = Cli({"read", "--port", port, "--output", m_config});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
}

nlohmann::ordered_json CliTest::ShowJson(const std::string& file) {
    const ProgramRun run = Cli({"show", file, "--json"});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    const auto lines = JsonLines(run.out);
    return lines.size() == 1 ? lines[0] : nlohmann::ordered_json();
}

nlohmann::ordered_json CliTest::ReadJson(const std::string& port) {
    const ProgramRun run = Cli({"read", "--port", port, "--json"});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    const auto lines = JsonLines(run.out);
    return lines.size() == 1 ? lines[0] : nlohmann::ordered_json();
}
